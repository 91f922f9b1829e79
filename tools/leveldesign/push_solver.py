#!/usr/bin/env python3
"""Shortest solution of a pushing-only room, by breadth-first search.

Models the part of Gloomhold's rules that pure pushing puzzles use: the
player's force budget (60, minus his own 20), weights (ball and key 18, box
30, boxed ball 50, everything fixed 200), a ball meeting a box, a key
meeting a lock, and a door that opens once no ball is left. Used to design
and check the ball-and-box rooms; the real proof is still `ghtool verify`.

    push_solver.py MAPFILE     prints the moves (R L U D), or "none"
"""
import sys
from collections import deque

WEIGHT = {"o": 18, "k": 18, "B": 30, "@": 50}
DIRS = {"R": (1, 0), "L": (-1, 0), "U": (0, -1), "D": (0, 1)}


def push(walls, objs, x, y, dx, dy, force):
    """Returns (moved, objs) for the object chain starting at (x, y)."""
    m = objs.get((x, y))
    if m is None:
        return True, objs
    force -= WEIGHT.get(m, 200)
    if force <= 0:
        return False, objs
    tx, ty = x + dx, y + dy
    if (tx, ty) in walls:
        return False, objs
    t = objs.get((tx, ty))
    if (m, t) in (("o", "B"), ("B", "o")):
        objs = dict(objs)
        del objs[(x, y)]
        objs[(tx, ty)] = "@"
        return True, objs
    if (m, t) == ("k", "L"):
        # The lock takes a few ticks to open; the solution waits (marked '*').
        objs = dict(objs)
        del objs[(x, y)]
        objs[(tx, ty)] = "l"
        return True, objs
    ok, objs = push(walls, objs, tx, ty, dx, dy, force)
    if not ok:
        return False, objs
    objs = dict(objs)
    objs[(tx, ty)] = objs.pop((x, y))
    return True, objs


def finish(path, last):
    """Turns a search path into ticks: waits for locks and the door, and a
    last tick for an exit entered leftwards or downwards."""
    ticks = path.replace("*", "." * 10) + last * 20
    return ticks + ("." if last in "LD" else "")


def solve(rows, limit=2000000):
    walls, objs, start, exits, doors = set(), {}, None, set(), set()
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "#":
                walls.add((x, y))
            elif ch in "<>":
                start = (x, y)
            elif ch == "X":
                exits.add((x, y))
            elif ch == "D":
                doors.add((x, y))
            elif ch in "okB@L":
                objs[(x, y)] = ch
    key = lambda p, o: (p, frozenset(o.items()))
    seen = {key(start, objs): None}
    queue = deque([(start, objs, "")])
    while queue:
        (px, py), o, path = queue.popleft()
        noball = "o" not in o.values()
        for mv, (dx, dy) in DIRS.items():
            nx, ny = px + dx, py + dy
            if (nx, ny) in exits or ((nx, ny) in doors and noball):
                return finish(path, mv)
            if (nx, ny) in walls or (nx, ny) in doors:
                continue
            ok, o2 = push(walls, o, nx, ny, dx, dy, 40)
            if not ok:
                continue
            wait = ""
            if "l" in o2.values():
                o2 = {p: c for p, c in o2.items() if c != "l"}
                wait = "*"
            k = key((nx, ny), o2)
            if k in seen:
                continue
            seen[k] = None
            if len(seen) > limit:
                return None
            queue.append(((nx, ny), o2, path + mv + wait))
    return None


if __name__ == "__main__":
    rows = open(sys.argv[1]).read().strip("\n").split("\n")
    print(solve(rows) or "none")
