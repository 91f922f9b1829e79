#!/usr/bin/env python3
"""Measures the real program under a virtual X display.

    bench/measure_program.py BUILD_DIR

Starts Xvfb (1024 x 768, black root), runs BUILD_DIR/gloomhold in a fresh
folder holding a copy of BUILD_DIR/GHold.dat with SDL's dummy audio driver,
and reports:
  - the time from starting the program to the first frame on the screen
    (the first pixel at the centre that is not black: the game window and
    its title picture are centred), polled from the X server;
  - the CPU the program uses while it idles on the first title picture for
    10 s (user + system time from /proc, as a share of one core);
  - its peak resident memory (VmHWM) over the whole run.
Then it quits the program with Escape presses and checks its exit status.
Targets: first frame within 150 ms, idle CPU under 1 %, under 50 MB resident.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "smoke"))
from screen_colours import Screen  # noqa: E402

IDLE_SECONDS = 10.0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    ticks = int(fields[11]) + int(fields[12])
    return ticks / os.sysconf("SC_CLK_TCK")


def peak_resident_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def start_xvfb(work):
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                             "-br", "-nolisten", "tcp"], pass_fds=(write_end,),
                            stderr=open(os.path.join(work, "xvfb.log"), "w"))
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    return xvfb, ":" + number.decode().strip()


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    program = os.path.join(build, "gloomhold")
    work = tempfile.mkdtemp(prefix="ghold-measure-")
    xvfb, display = start_xvfb(work)
    game = None
    try:
        shutil.copy(os.path.join(build, "GHold.dat"), os.path.join(work, "GHold.dat"))
        env = dict(os.environ, DISPLAY=display, SDL_AUDIODRIVER="dummy")
        screen = Screen(display)
        if screen.any_colour_at_centre():
            raise SystemExit("the screen is not black before the program starts")

        start = time.monotonic()
        game = subprocess.Popen([program], cwd=work, env=env)
        first_frame = None
        while time.monotonic() - start < 10:
            if screen.any_colour_at_centre():
                first_frame = time.monotonic() - start
                break
            if game.poll() is not None:
                raise SystemExit(f"the program ended with status {game.returncode}")
        if first_frame is None:
            raise SystemExit("nothing reached the screen within 10 s")

        # Let the start-up settle, then idle on the title picture.
        time.sleep(1.0)
        before = cpu_seconds(game.pid)
        idle_start = time.monotonic()
        time.sleep(IDLE_SECONDS)
        used = cpu_seconds(game.pid) - before
        idle = time.monotonic() - idle_start
        peak = peak_resident_kb(game.pid)

        # Title pictures 0 and 1, then Escape in the game.
        for key in ["space", "space", "Escape"]:
            subprocess.run(["xdotool", "search", "--name", "^Gloomhold$", "key", key], env=env,
                           check=False, capture_output=True)
            time.sleep(0.3)
        status = game.wait(timeout=10)
        game = None

        print(f"first frame on screen: {first_frame * 1000:.0f} ms (target 150 ms)")
        print(f"idle CPU on the title picture: {100 * used / idle:.2f} % of one core over "
              f"{idle:.1f} s (target 1 %)")
        print(f"peak resident memory: {peak / 1024:.1f} MB (target 50 MB)")
        print(f"exit status after Escape: {status}")
    finally:
        if game is not None:
            game.kill()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
