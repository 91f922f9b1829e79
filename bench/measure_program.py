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
    10 s (user + system time from /proc, as a share of one core), and how
    often it woke up meanwhile (its voluntary context switches);
  - the period of the board's steps while no key is held, over 8 s of the
    first level after its banner: each step copies the board to the window,
    which the X server reports as damage, stamped with its own clock;
  - its peak resident memory (VmHWM) over the whole run;
  - how long it takes to end after the Escape that quits it, and its exit
    status.
Targets: first frame within 150 ms, idle CPU under 0.3 %, a step every
100 ms +/- 2 ms, under 50 MB resident, quitting within 100 ms.
"""
import ctypes
import ctypes.util
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "smoke"))
from screen_colours import Screen  # noqa: E402

IDLE_SECONDS = 10.0
STEP_SECONDS = 8.0
# Damage reports closer together than this belong to one step.
STEP_GAP_MS = 30


class DamageWatch:
    """Damage reports of one window, through libXdamage (no other packages)."""

    def __init__(self, screen, window):
        self.x = screen.x
        self.display = screen.display
        self.damage = ctypes.CDLL(ctypes.util.find_library("Xdamage") or "libXdamage.so.1")
        base, error = ctypes.c_int(), ctypes.c_int()
        self.damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.c_void_p,
                                                      ctypes.c_void_p]
        if not self.damage.XDamageQueryExtension(self.display, ctypes.byref(base),
                                                 ctypes.byref(error)):
            raise SystemExit("the X server has no DAMAGE extension")
        self.notify = base.value  # XDamageNotify is the extension's first event
        self.damage.XDamageCreate.restype = ctypes.c_ulong
        self.damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
        # Level 0 reports every drawing request as a rectangle of its own.
        self.damage.XDamageCreate(self.display, window, 0)
        self.x.XPending.argtypes = [ctypes.c_void_p]
        self.x.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        self.x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x.XSync(self.display, 0)

    def times(self, seconds):
        """The server times (ms) of the damage reports over the coming seconds."""
        event = (ctypes.c_long * 24)()
        seen = []
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if not self.x.XPending(self.display):
                time.sleep(0.001)
                continue
            self.x.XNextEvent(self.display, event)
            if event[0] & 0xFFFFFFFF == self.notify:
                # XDamageNotifyEvent: type, serial, send_event, display,
                # drawable, damage, level and more, then the timestamp.
                seen.append(event[7])
        return seen


def step_times(reports):
    steps = []
    for t in reports:
        if not steps or t - steps[-1] > STEP_GAP_MS:
            steps.append(t)
    return steps


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    # utime and stime are fields 14 and 15 of the line, 12 and 13 after the name.
    ticks = int(fields[11]) + int(fields[12])
    return ticks / os.sysconf("SC_CLK_TCK")


def status_number(pid, name):
    """A number of /proc/PID/status: VmHWM (peak resident kB),
    voluntary_ctxt_switches (how often the process has gone to sleep)."""
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(name + ":"):
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
        woke = status_number(game.pid, "voluntary_ctxt_switches")
        idle_start = time.monotonic()
        time.sleep(IDLE_SECONDS)
        used = cpu_seconds(game.pid) - before
        woke = status_number(game.pid, "voluntary_ctxt_switches") - woke
        idle = time.monotonic() - idle_start

        # Title pictures 0 and 1 go; the first level's banner is up 1.2 s.
        window = int(subprocess.run(["xdotool", "search", "--name", "^Gloomhold$"], env=env,
                                    capture_output=True, text=True).stdout.split()[0])

        def key(name):
            subprocess.run(["xdotool", "key", "--window", str(window), name], env=env,
                           check=False, capture_output=True)

        watch = DamageWatch(screen, window)
        for name in ["space", "space"]:
            key(name)
            time.sleep(0.3)
        watch.times(1.5)
        steps = step_times(watch.times(STEP_SECONDS))
        periods = [b - a for a, b in zip(steps, steps[1:])]
        peak = status_number(game.pid, "VmHWM")

        quit_start = time.monotonic()
        key("Escape")
        status = game.wait(timeout=10)
        quit_ms = (time.monotonic() - quit_start) * 1000
        game = None

        print(f"first frame on screen: {first_frame * 1000:.0f} ms (target 150 ms)")
        print(f"idle CPU on the title picture: {100 * used / idle:.2f} % of one core over "
              f"{idle:.1f} s (target 0.3 %), {woke / idle:.1f} wake-ups a second")
        if len(periods) < 2:
            raise SystemExit(f"only {len(steps)} steps reached the screen")
        mean = (steps[-1] - steps[0]) / len(periods)
        print(f"step period with no key held: mean {mean:.2f} ms over {len(periods)} steps, "
              f"{min(periods)} to {max(periods)} ms (target 100 +/- 2 ms)")
        print(f"peak resident memory: {peak / 1024:.1f} MB (target 50 MB)")
        print(f"quitting: {quit_ms:.0f} ms from Escape to the end (target 100 ms), "
              f"exit status {status}")
    finally:
        if game is not None:
            game.kill()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
