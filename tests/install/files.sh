#!/usr/bin/env bash
# files.sh OUT_DIR VERSION: checks the package package.sh made in OUT_DIR:
# the control fields a Debian user sees, every file in its place, the desktop
# entry and the AppStream metadata as the validators read them, icons of the
# sizes their folders claim, manual pages groff reads without a warning, and
# one version everywhere.
set -uo pipefail
out=$1
version=$2
usr=$out/root/usr
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
need() {
    command -v "$1" > /dev/null || { echo "FAIL: $1 not installed (Debian package $2)"; exit 1; }
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need groff groff-base

deb=$(echo "$out"/*.deb)
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == gloomhold ]] || fail "package name $(field Package)"
[[ $(field Version) == "$version" ]] || fail "package version $(field Version)"
[[ $(field Section) == games ]] || fail "section $(field Section)"
# dpkg-shlibdeps found the libraries the programs link.
for library in libsdl2 libpng16 libstdc++6 libc6; do
    [[ $(field Depends) == *"$library"* ]] || fail "Depends lacks $library: $(field Depends)"
done
[[ $(field Description) == *Gloomhold* ]] || fail "no long description"

app=example.gloomhold.Gloomhold
for file in bin/gloomhold bin/ghtool bin/gloomhold-edit share/gloomhold/GHold.dat \
    share/gloomhold/GHold.titles \
    share/applications/$app.desktop share/metainfo/$app.metainfo.xml \
    share/man/man6/gloomhold.6.gz share/man/man1/ghtool.1.gz share/man/man1/gloomhold-edit.1.gz \
    share/doc/gloomhold/changelog.gz; do
    [[ -s $usr/$file ]] || fail "$file is missing"
done

desktop-file-validate "$usr/share/applications/$app.desktop" || fail "desktop-file-validate"
appstreamcli validate-tree --no-net "$out/root" || fail "appstreamcli validate-tree"

for size in 16 24 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x$size/apps/gloomhold.png
    # A PNG's width and height are the two big-endian words after its header.
    dimensions=$(python3 -c 'import sys, struct
data = open(sys.argv[1], "rb").read(24)
print("%dx%d" % struct.unpack(">II", data[16:24]))' "$icon") || dimensions=unreadable
    [[ $dimensions == "${size}x$size" ]] || fail "$icon is $dimensions"
done

for page in man6/gloomhold.6.gz man1/ghtool.1.gz man1/gloomhold-edit.1.gz; do
    warnings=$(gzip -dc "$usr/share/man/$page" | groff -man -ww -z -Tutf8 2>&1)
    [[ -z $warnings ]] || fail "$page: $warnings"
    gzip -dc "$usr/share/man/$page" | grep -q "^\.TH .*\"Gloomhold $version\"" ||
        fail "$page does not name version $version"
done
newest=$(grep -o -m 1 '<release version="[^"]*"' "$usr/share/metainfo/$app.metainfo.xml")
[[ $newest == "<release version=\"$version\"" ]] || fail "newest AppStream release: $newest"
gzip -dc "$usr/share/doc/gloomhold/changelog.gz" | head -n 1 | grep -qF "gloomhold ($version)" ||
    fail "changelog does not start with $version"

((failures == 0)) || exit 1
echo "package files checked"
