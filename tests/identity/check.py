#!/usr/bin/env python3
"""Proves that the rules and the board drawing still give what they gave.

Runs `ghtool sim --trace` and `ghtool render` over a fixed, seeded set of
cases and compares a digest of every output with tests/identity/digests.txt,
which was recorded from a build known to be right. The cases:

- the 51 level texts frozen in tests/identity/levels (copies of the campaign
  as it stood when the digests were recorded, so that redesigning a level in
  assets/ never moves this check), each with its own solution and with three
  seeded runs of random keys;
- about two thousand levels made from those by seeded random edits of every
  layer, plus small levels of random size and content, each with random keys;
- every frozen level drawn before any move, halfway through its solution and
  at its end, and generated levels drawn after random keys.

    check.py [--ghtool build/ghtool] [--quick] [--record]

--quick runs about a tenth of the generated cases. --record rewrites the
digest file instead of comparing: only after a change that is meant to alter
what the rules do or what the board looks like. Exit status 0 when every
digest matches, 1 when some differ (each is listed), 2 on a broken setup.
"""
import argparse
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
LEVELS = os.path.join(HERE, "levels")
DIGESTS = os.path.join(HERE, "digests.txt")
LAYERS = ("floor", "object", "top")
GENERATED = 2000
RANDOM_SIZED = 300
RENDERED_GENERATED = 51


class Lcg:
    """A generator of our own, so that the cases never change with Python."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFFFFFFFFFF

    def below(self, n):
        self.state = (self.state * 6364136223846793005 + 1442695040888963407) & 0xFFFFFFFFFFFFFFFF
        return (self.state >> 33) % n

    def pick(self, items):
        return items[self.below(len(items))]


def parse(path):
    """A level text as its lines outside the grids and its three grids."""
    head, grids, current = [], {}, None
    with open(path) as f:
        for line in f.read().split("\n"):
            name = line.rstrip(":")
            if line.endswith(":") and name in LAYERS:
                current = grids.setdefault(name, [])
            elif current is not None and line != "":
                current.append(line)
            else:
                current = None
                if line.startswith("title:") or line.startswith("solution:"):
                    head.append(line)
    return head, grids


def solution_of(head):
    return "".join(l[len("solution:"):].replace(" ", "") for l in head if l.startswith("solution:"))


def text_of(grids, title):
    out = ["title: " + title, ""]
    for layer in LAYERS:
        out.append(layer + ":")
        out.extend(grids[layer])
        out.append("")
    return "\n".join(out)


def random_moves(rng, count):
    # Waiting is drawn as often as moving so that water, fire and timers run.
    return "".join(rng.pick("RLUD....") for _ in range(count))


def build_cases(quick):
    frozen = sorted(f for f in os.listdir(LEVELS) if f.endswith(".txt"))
    parsed = {f: parse(os.path.join(LEVELS, f)) for f in frozen}
    charset = {layer: sorted({c for _, g in parsed.values() for row in g[layer] for c in row})
               for layer in LAYERS}
    levels, sims = {}, []
    for f in frozen:
        name = f[:-4]
        levels[name] = os.path.join(LEVELS, f)
        sims.append((name, name, solution_of(parsed[f][0])))
        rng = Lcg(hash_seed(name))
        for run in range(3):
            sims.append((f"{name}-random{run}", name, random_moves(rng, 200)))

    share = 10 if quick else 1
    made = []
    # Every generated case draws from a generator seeded by its own name, so
    # that the quick run is an exact subset of the full one.
    for i in range(GENERATED // share):
        rng = Lcg(hash_seed(f"gen{i:04d}"))
        _, grids = parsed[frozen[i % len(frozen)]]
        grids = {layer: [list(row) for row in grids[layer]] for layer in LAYERS}
        for _ in range(5 + rng.below(40)):
            layer = rng.pick(LAYERS)
            row = grids[layer][rng.below(len(grids[layer]))]
            row[rng.below(len(row))] = rng.pick(charset[layer])
        made.append((f"gen{i:04d}", {l: ["".join(r) for r in g] for l, g in grids.items()}))
    for i in range(RANDOM_SIZED // share):
        rng = Lcg(hash_seed(f"sized{i:04d}"))
        width, height = 1 + rng.below(18), 1 + rng.below(13)
        grids = {layer: ["".join(rng.pick(charset[layer]) for _ in range(width))
                         for _ in range(height)] for layer in LAYERS}
        made.append((f"sized{i:04d}", grids))
    for name, grids in made:
        sims.append((name, name, random_moves(Lcg(hash_seed(name + "-moves")), 150)))
    return levels, made, sims, frozen, parsed


def hash_seed(name):
    return int(hashlib.sha256(name.encode()).hexdigest()[:15], 16)


def digest(data):
    return hashlib.sha256(data).hexdigest()[:24]


def run(args):
    done = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    # A refused level (the random ones may break the format) is a result too.
    return digest(done.stdout + done.stderr + bytes([done.returncode]))


def pack(ghtool, work, name, level_texts):
    """A data file of the real pictures and sounds with these 51 levels."""
    folder = os.path.join(work, name)
    os.makedirs(os.path.join(folder, "levels"))
    for part in ("sprites", "sounds", "pictures"):
        os.symlink(os.path.join(ROOT, "assets", part), os.path.join(folder, part))
    for i, text in enumerate(level_texts):
        with open(os.path.join(folder, "levels", f"level{i:02d}.txt"), "w") as f:
            f.write(text)
    data = os.path.join(work, name + ".dat")
    done = subprocess.run([ghtool, "pack", folder, data], capture_output=True, text=True)
    if done.returncode != 0:
        sys.exit(f"check.py: packing {name} failed: {done.stderr.strip()}")
    return data


def render(ghtool, data, level, moves, work):
    out = os.path.join(work, "render.png")
    args = [ghtool, "render", "--data", data, "--level", str(level)]
    args += [moves] if moves else []
    done = subprocess.run(args + [out], capture_output=True)
    if done.returncode != 0:
        return digest(done.stderr)
    with open(out, "rb") as f:
        return digest(f.read())


def compute(ghtool, quick, stop_unless=None):
    """Every case's digest; with stop_unless, FirstDifference at the first
    case whose digest is not the one it gives."""
    levels, made, sims, frozen, parsed = build_cases(quick)
    results = {}

    def note(key, value):
        results[key] = value
        if stop_unless is not None and stop_unless.get(key) != value:
            raise FirstDifference(key)

    with tempfile.TemporaryDirectory() as work:
        for name, grids in made:
            path = os.path.join(work, name + ".txt")
            with open(path, "w") as f:
                f.write(text_of(grids, name))
            levels[name] = path
        for case, level, moves in sims:
            note("sim " + case, run([ghtool, "sim", levels[level], moves, "--trace"]))

        data = pack(ghtool, work, "frozen", [open(os.path.join(LEVELS, f)).read() for f in frozen])
        for n, f in enumerate(frozen):
            solution = solution_of(parsed[f][0])
            for label, moves in (("start", ""), ("half", solution[:len(solution) // 2]),
                                 ("end", solution)):
                note(f"render {f[:-4]}-{label}", render(ghtool, data, n, moves, work))

        # Only generated levels that pack (every one of the 51 must) are drawn.
        usable = [(name, grids) for name, grids in made[:RENDERED_GENERATED * 2]
                  if name.startswith("gen")][:RENDERED_GENERATED]
        data = pack(ghtool, work, "generated", [text_of(g, n) for n, g in usable])
        rng = Lcg(51)
        for n, (name, _) in enumerate(usable):
            note(f"render {name}", render(ghtool, data, n, random_moves(rng, 60), work))
    return results


class FirstDifference(Exception):
    pass


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--ghtool", default=os.path.join(ROOT, "build", "ghtool"))
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--record", action="store_true")
    parser.add_argument("--first-difference", action="store_true")
    options = parser.parse_args()
    if not os.access(options.ghtool, os.X_OK):
        sys.exit(f"check.py: no ghtool at {options.ghtool}")

    expected = {}
    if not options.record:
        with open(DIGESTS) as f:
            expected = dict(line.rstrip("\n").rsplit(" ", 1) for line in f)
    if options.first_difference and not options.record:
        try:
            compute(options.ghtool, options.quick, expected)
        except FirstDifference as difference:
            print(f"differs: {difference.args[0]}")
            return 1
        print("no case differs")
        return 0

    results = compute(options.ghtool, options.quick and not options.record)
    if options.record:
        with open(DIGESTS, "w") as f:
            for key in sorted(results):
                f.write(f"{key} {results[key]}\n")
        print(f"recorded {len(results)} digests")
        return 0

    differing = [key for key in sorted(results) if expected.get(key) != results[key]]
    for key in differing[:40]:
        print(f"differs: {key}")
    if len(differing) > 40:
        print(f"... and {len(differing) - 40} more")
    print(f"{len(results) - len(differing)} of {len(results)} cases identical")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main())
