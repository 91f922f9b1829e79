#!/usr/bin/env python3
"""Level design helper for Gloomhold's campaign.

The campaign's levels are drawn in levels.py as one combined map per level
(one character per cell, see CELL below) plus an optional floor map for
objects that stand on special floors. This script writes them out as the
three-grid level texts the game's tools read (assets/levels/levelNN.txt) and
replays each solution with `ghtool sim` to show where the player got to.

    lv.py write            write every level text
    lv.py check [N...]     write, then replay the solutions of levels N
    lv.py show N MOVES     replay MOVES on level N and print the board
    lv.py ship N MOVES     make MOVES level N's solution in levels.py
    lv.py tighten [N...]   drop every tick a solution can do without
    lv.py docs             refresh the tables of docs/levels.md
"""
import ast
import json
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
GHTOOL = os.environ.get("GHTOOL", os.path.join(ROOT, "build-levels", "ghtool"))
OUT = os.path.join(ROOT, "assets", "levels")

# Combined map character -> (floor, object, top) in the level text legend.
CELL = {
    "#": (".", "#", "."), "_": ("_", ".", "."), " ": ("_", ".", "."),
    "X": ("_", ".", "X"), "F": ("_", ".", "F"), "%": ("_", ".", "%"),
    "V": ("_", ".", "V"), "u": ("u", ".", "."), "+": ("+", ".", "."),
    "h": ("h", ".", "."), "~": ("~", ".", "."), "i": ("i", ".", "."),
}
for obj in "<>o B@DkL/tTgGc$SOp=|Y()r!HC".replace(" ", ""):
    CELL.setdefault(obj, ("_", obj, "."))


def grids(level):
    rows = level["map"].strip("\n").split("\n")
    width = max(len(r) for r in rows)
    rows = [r.ljust(width, "#") for r in rows]
    floors = level.get("floor")
    frows = floors.strip("\n").split("\n") if floors else None
    layers = [[], [], []]
    for y, row in enumerate(rows):
        parts = [[], [], []]
        for x, ch in enumerate(row):
            f, o, t = CELL[ch]
            if frows and y < len(frows) and x < len(frows[y]) and frows[y][x] not in " .":
                f = frows[y][x]
            for i, c in enumerate((f, o, t)):
                parts[i].append(c)
        for i in range(3):
            layers[i].append("".join(parts[i]))
    return layers


def text_of(level):
    floor, obj, top = grids(level)
    out = ["title: " + level["title"]]
    if level.get("note"):
        out.insert(0, "# " + level["note"])
    sol = level["solution"].replace(" ", "").replace("\n", "")
    for i in range(0, len(sol), 60):
        out.append("solution: " + sol[i:i + 60])
    for name, g in (("floor", floor), ("object", obj), ("top", top)):
        out.append("")
        out.append(name + ":")
        out.extend(g)
    return "\n".join(out) + "\n"


def load_levels():
    sys.path.insert(0, HERE)
    import levels
    return levels.LEVELS


def path_of(n):
    return os.path.join(OUT, "level%02d.txt" % n)


def write_all():
    lv = load_levels()
    for n, level in enumerate(lv):
        with open(path_of(n), "w") as f:
            f.write(text_of(level))
        # Key presses after the exit are design slack: cut them.
        sol = level["solution"].replace(" ", "").replace("\n", "")
        done = [x["step"] for x in sim(n, sol, trace=True) if x["levelComplete"]]
        if done and done[0] < len(sol):
            level["solution"] = sol[:done[0]]
            with open(path_of(n), "w") as f:
                f.write(text_of(level))
    return lv


def sim(n, moves, trace=False):
    args = [GHTOOL, "sim", path_of(n), moves or "."]
    if trace:
        args.append("--trace")
    res = subprocess.run(args, capture_output=True, text=True)
    if res.returncode != 0:
        raise SystemExit(res.stderr)
    return [json.loads(l) for l in res.stdout.splitlines()]


LEG = None


def legend():
    global LEG
    if LEG is None:
        LEG = {}
        res = subprocess.run([GHTOOL, "legend"], capture_output=True, text=True)
        for line in res.stdout.splitlines():
            cols = [c.strip() for c in line.split("|")]
            if len(cols) > 4 and cols[1].isdigit():
                ch = cols[3].strip("`").strip()
                if ch == "\\|":
                    ch = "|"
                LEG[int(cols[1])] = ch or "."
    return LEG


def board(state):
    leg = legend()
    w, h = state["width"], state["height"]
    lines = []
    for y in range(h):
        row = ""
        for x in range(w):
            f, o, t = state["cells"][x * h + y]
            ch = "."
            if f not in (0, 2):
                ch = leg[f]
            if o:
                ch = leg[o]
            if t:
                ch = leg[t]
            if o and t == 30:
                ch = leg[o]
            row += ch
        # water: mark tiles whose fine cells hold water
        wrow = ""
        for x in range(w):
            full = 0
            for r in range(3):
                line = state["fine"][3 * y + r]
                for c in range(3):
                    b = int(line[2 * (3 * x + c):2 * (3 * x + c) + 2], 16)
                    if b & 3 == 3:
                        full += 1
            wrow += str(full) if full else "."
        lines.append(row + "   " + wrow)
    return "\n".join(lines)


def solution_literal(moves, indent):
    """moves as Python source: one string, or 60-move pieces joined."""
    pieces = ['"%s"' % moves[i:i + 60] for i in range(0, len(moves), 60)] or ['""']
    if len(pieces) == 1:
        return pieces[0]
    return "(" + ("\n" + " " * (indent + 1)).join(pieces) + ")"


def ship(n, moves):
    """Replaces the solution of level n in levels.py by moves, as a literal."""
    path = os.path.join(HERE, "levels.py")
    source = open(path).read()
    calls = [node.value for node in ast.parse(source).body
             if isinstance(node, ast.Expr) and isinstance(node.value, ast.Call)
             and getattr(node.value.func, "id", "") == "L"]
    arg = calls[n].args[2]
    lines = source.split("\n")
    start = sum(len(l) + 1 for l in lines[:arg.lineno - 1]) + arg.col_offset
    end = sum(len(l) + 1 for l in lines[:arg.end_lineno - 1]) + arg.end_col_offset
    literal = solution_literal(moves, arg.col_offset)
    # A solution already in parentheses keeps them and gets no second pair.
    if source[start - 1] == "(" and source[end] == ")" and literal.startswith("("):
        literal = solution_literal(moves, arg.col_offset - 1)[1:-1]
    source = source[:start] + literal + source[end:]
    with open(path, "w") as f:
        f.write(source)
    sys.modules.pop("levels", None)


def completes(n, moves):
    return bool(sim(n, moves)[-1]["levelComplete"])


def tighten(n, moves):
    """Drops every tick the solution can do without, one at a time, and
    turns into waits the key presses (alone, or two in a row, such as a step
    there and back) that it can do without; then moves each wait as late as
    it can go, so that the solution reads as the player's moves with the
    waiting where it is needed."""
    changed = True
    while changed:
        changed = False
        i = 0
        while i < len(moves):
            shorter = moves[:i] + moves[i + 1:]
            if completes(n, shorter):
                moves, changed = shorter, True
            else:
                i += 1
        for width in (1, 2):
            for i in range(len(moves) - width + 1):
                if "." in moves[i:i + width]:
                    continue
                idle = moves[:i] + "." * width + moves[i + width:]
                if completes(n, idle):
                    moves, changed = idle, True
    for i in range(len(moves) - 2, -1, -1):
        j = i
        while j + 1 < len(moves) and moves[j] == "." and moves[j + 1] != ".":
            later = moves[:j] + moves[j + 1] + "." + moves[j + 2:]
            if not completes(n, later):
                break
            moves, j = later, j + 1
    return moves


def write_docs():
    """Rewrites the table of docs/levels.md from `ghtool verify --stats` and
    the notes in levels.py."""
    import levels
    res = subprocess.run([GHTOOL, "verify", "--stats", os.path.join(ROOT, "assets")],
                         capture_output=True, text=True)
    rows = res.stdout.splitlines()
    out = [rows[0] + " what it asks |", rows[1] + "---|"]
    for n, row in enumerate(rows[2:]):
        out.append(row + " " + levels.NOTES[n] + " |")
    path = os.path.join(ROOT, "docs", "levels.md")
    text = replace_between(open(path).read(), "table", "\n".join(out))
    text = replace_between(text, "solve table", solve_table(levels.LEVELS))
    open(path, "w").write(text)


def replace_between(text, name, table):
    start = text.index("<!-- %s -->" % name) + len("<!-- %s -->\n" % name)
    end = text.index("<!-- end of %s -->" % name)
    return text[:start] + table + "\n" + text[end:]


def solve_table(lv):
    """The solve table of docs/levels.md, from solve_all.py's solves.json."""
    path = os.path.join(HERE, "solves.json")
    results = json.load(open(path)) if os.path.exists(path) else {}

    def found(r, unit):
        if r is None:
            return "not searched"
        if "ticks" in r:
            return "%d / %d" % (r["ticks"], r["presses"])
        if "bound" in r:
            return "none in %d %s (%s bound)" % (r["settled"], unit, r["bound"])
        return "no solution"

    out = ["| level | title | shipped | by ticks | by key presses | states (by ticks) |",
           "|---|---|---|---|---|---|"]
    for n, level in enumerate(lv):
        with open(path_of(n)) as f:
            sol = "".join(l.split(":", 1)[1].strip() for l in f if l.startswith("solution:"))
        r = results.get("%02d" % n, {})
        ticks = r.get("ticks")
        out.append("| %d | %s | %d / %d | %s | %s | %s |" % (
            n, level["title"], len(sol), len(sol) - sol.count("."), found(ticks, "ticks"),
            found(r.get("moves"), "presses"), ticks["states"] if ticks else ""))
    return "\n".join(out)


def main():
    cmd = sys.argv[1] if len(sys.argv) > 1 else "check"
    lv = write_all()
    if cmd == "write":
        return
    if cmd == "docs":
        write_docs()
        return
    if cmd == "trace":
        # Player position per step, to find where a solution lost its way.
        n = int(sys.argv[2])
        sol = sys.argv[3] if len(sys.argv) > 3 else lv[n]["solution"].replace(" ", "")
        out = []
        for s in sim(n, sol, trace=True):
            h = s["height"]
            pos = [(i // h, i % h) for i, c in enumerate(s["cells"]) if c[1] in (6, 32, 34, 35)]
            mv = sol[s["step"] - 1] if s["step"] else "-"
            out.append("%d%s%d,%d" % ((s["step"], mv) + (pos[0] if pos else (-1, -1))))
        print(" ".join(out))
        return
    if cmd == "ship":
        ship(int(sys.argv[2]), sys.argv[3])
        write_all()
        return
    if cmd == "tighten":
        for n in [int(a) for a in sys.argv[2:]] or range(len(lv)):
            before = lv[n]["solution"].replace(" ", "").replace("\n", "")
            after = tighten(n, before)
            print("%2d %-26s %d -> %d ticks" % (n, lv[n]["title"], len(before), len(after)),
                  flush=True)
            if after != before:
                ship(n, after)
                lv = write_all()
        return
    if cmd == "show":
        n, moves = int(sys.argv[2]), sys.argv[3] if len(sys.argv) > 3 else "."
        states = sim(n, moves, trace=True)
        every = "-a" in sys.argv
        for s in states if every else states[-1:]:
            print("step", s["step"], "complete", s["levelComplete"], "burners", s["burnersOn"],
                  "plates", s["allPlatesPressed"], "noBall", s["noBallLeft"])
            print(board(s))
        return
    ns = [int(a) for a in sys.argv[2:]] or range(len(lv))
    for n in ns:
        sol = lv[n]["solution"].replace(" ", "").replace("\n", "")
        s = sim(n, sol, trace=True)
        done = [x["step"] for x in s if x["levelComplete"]]
        if done and done[0] < len(sol):
            # Extra key presses after the exit are design slack: cut them.
            lv[n]["solution"] = sol = sol[:done[0]]
            with open(path_of(n), "w") as f:
                f.write(text_of(lv[n]))
        print("%2d %-26s %s len %d%s" % (n, lv[n]["title"], "OK at %d" % done[0] if done else "FAIL",
                                          len(sol), ""))
        if not done:
            print(board(s[-1]))


if __name__ == "__main__":
    main()
