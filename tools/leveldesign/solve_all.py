#!/usr/bin/env python3
"""Runs `ghtool solve` over the campaign and records what it found.

Every level is searched twice: by ticks (the fewest ticks, then the fewest key
presses) and by key presses (waiting free). Levels 0 to 32 are searched to the
end; the long levels from 33 on get a time bound each, shared between the two
searches. The results go to solves.json beside this script, one entry per
level and measure, and the solve table of docs/levels.md is rewritten from
them (`lv.py docs` does the same without searching).

    solve_all.py [--late-seconds S] [--early-seconds S] [--by ticks|moves] [N ...]

N: the levels to search again (default all 51); the others keep their
recorded results. --late-seconds: the time each level from 33 on may take,
both searches together (default 600; 0 for no bound). --early-seconds: a
bound on each search of the levels before 33 (default none). --by: only one
of the two searches, which then has the level's whole time; the other keeps
its recorded result. Reads GHTOOL like lv.py.
"""
import json
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
GHTOOL = os.environ.get("GHTOOL", os.path.join(ROOT, "build-levels", "ghtool"))
RESULTS = os.path.join(HERE, "solves.json")
FIRST_LATE = 33
# The ticks search settles whether a level has a shortcut, so it gets most of
# a late level's time.
TICKS_SHARE = 0.7


def parse(output, status):
    """What `ghtool solve` printed, as a dict."""
    result = {"status": status}
    moves = "".join(line[len("solution: "):] for line in output.splitlines()
                    if line.startswith("solution: "))
    if moves:
        result["solution"] = moves
    m = re.search(r"^# (\d+) ticks, (\d+) key press", output, re.M)
    if m:
        result["ticks"], result["presses"] = int(m.group(1)), int(m.group(2))
    m = re.search(r"^# no solution of (-?\d+) (ticks|key presses) or fewer; stopped by the (.+) bound",
                  output, re.M)
    if m:
        result["settled"], result["bound"] = int(m.group(1)), m.group(3)
    m = re.search(r"^# (\d+) states, (\d+) ticks stepped in ([\d.]+) s", output, re.M)
    if m:
        result["states"], result["seconds"] = int(m.group(1)), float(m.group(3))
    return result


def solve(n, by, seconds):
    args = [GHTOOL, "solve", os.path.join(ROOT, "assets", "levels", "level%02d.txt" % n),
            "--by", by]
    if seconds:
        args += ["--max-seconds", str(int(seconds))]
    res = subprocess.run(args, capture_output=True, text=True)
    if res.returncode == 2:
        raise SystemExit(res.stderr)
    return parse(res.stdout, res.returncode)


def load():
    if os.path.exists(RESULTS):
        with open(RESULTS) as f:
            return json.load(f)
    return {}


def save(results):
    with open(RESULTS, "w") as f:
        json.dump(results, f, indent=1, sort_keys=True)
        f.write("\n")


def main():
    args = sys.argv[1:]
    options = {"--late-seconds": "600", "--early-seconds": "0", "--by": ""}
    while args and args[0] in options:
        options[args[0]] = args[1]
        args = args[2:]
    late, early = float(options["--late-seconds"]), float(options["--early-seconds"])
    searches = (("ticks", TICKS_SHARE), ("moves", 1 - TICKS_SHARE))
    if options["--by"]:
        searches = ((options["--by"], 1),)
    levels = [int(a) for a in args] or range(51)
    results = load()
    for n in levels:
        entry = results.get("%02d" % n, {})
        for by, share in searches:
            entry[by] = solve(n, by, late * share if n >= FIRST_LATE else early)
            found = entry[by]
            print("%2d by %-5s %s" % (n, by, "%d ticks, %d presses" % (found["ticks"], found["presses"])
                                      if "ticks" in found else
                                      "none within %s (%s bound)" % (found.get("settled"),
                                                                    found.get("bound"))
                                      if "bound" in found else "no solution"), flush=True)
        results["%02d" % n] = entry
        save(results)
    sys.path.insert(0, HERE)
    import lv
    lv.write_docs()


if __name__ == "__main__":
    main()
