#!/usr/bin/env python3
"""Measures the display's steady cost: starts Caltrix on its demo feed under
Xvfb (or under cage with a headless 1280x720 output, as the user
caltrix-check when run as root), waits until every slot shows matches
(several of them running and flashing), then samples for a while the CPU
time and memory of the GUI process and of its whole process tree (the web
engine's helper processes), and the memory of the display server. Memory is
sampled every 5 s: the figures are the last sample and the highest. It also
tells how many slots rotated (showed more than one match, or their only one)
while it sampled, and can take a screenshot at the end (under Xvfb).
Arguments after "--" go to the program, e.g. "-- --low-memory".

Usage: measure_display.py CALTRIX [--seconds 60] [--screen 1280x1024]
                          [--scale fit|FACTOR] [--cage] [--screenshot PNG]
                          [-- PROGRAM-ARGUMENTS]
"""
import argparse
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

from every_slot_filled import every_slot_filled, slots  # noqa: E402
from harness import (Failure, cpu_seconds, process_tree, rss_kb, running, start_xvfb, stop_process,  # noqa: E402
                     temporary_folder, tree_rss_kb, wait_for, wait_or_exit)


def rss_mb(pid):
    return rss_kb(pid) / 1024


class PidHandle:
    """The few calls of subprocess.Popen the measurement needs, for a process
    that another one started (the program under cage)."""

    def __init__(self, pid):
        self.pid, self.returncode = pid, None

    def poll(self):
        self.returncode = None if os.path.exists(f"/proc/{self.pid}") else 0
        return self.returncode

    def send_signal(self, number):
        try:
            os.kill(self.pid, number)
        except ProcessLookupError:
            pass

    def wait(self, timeout):
        try:
            wait_for(lambda: self.poll() is not None, timeout, "Caltrix to end", interval=0.1)
        except Failure:
            raise subprocess.TimeoutExpired("Caltrix", timeout)


class Rotation:
    """The panel texts each slot showed: a slot rotates when it showed more
    than one of its matches, or its only one."""

    def __init__(self):
        self.texts, self.lines = {}, {}

    def sample(self, status_path):
        for slot in slots(status_path):
            self.texts.setdefault(slot["slot"], set()).add(slot["panel"]["text"])
            self.lines[slot["slot"]] = slot["lines"]

    def rotating(self):
        return sum(1 for number, texts in self.texts.items() if len(texts) >= min(2, self.lines.get(number, 2)))


def start_on_xvfb(screen, command):
    """Starts Xvfb on a free display and the program on it; returns (server, program, display)."""
    server, display = start_xvfb(screen)
    environment = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", DISPLAY=display)
    program = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return server, program, display


def create_check_user():
    """The user caltrix-check, created when missing, as the screen checks create it."""
    subprocess.run(["bash", "-c", 'source "$0" && check_user', os.path.join(HERE, "display-check-lib.sh")], check=True)


def start_cage(work, command):
    """Starts cage with a headless output and the program in it, as the user
    caltrix-check when run as root (cage refuses root); returns (cage, program)."""
    runtime = os.path.join(work, "runtime")
    as_user = []
    if os.geteuid() == 0:
        create_check_user()
        shutil.chown(work, "caltrix-check", "caltrix-check")
        as_user = ["setpriv", "--reuid=caltrix-check", "--regid=caltrix-check", "--init-groups", "--reset-env", "--"]
    subprocess.run(as_user + ["mkdir", "-m", "700", runtime], check=True)
    cage = subprocess.Popen(as_user + ["env", f"HOME={work}", f"XDG_RUNTIME_DIR={runtime}", "PATH=/usr/bin:/bin",
                                       "WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1",
                                       "QT_QPA_PLATFORM=wayland", "cage", "-d", "--"] + command,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def program():
        programs = [pid for pid in process_tree(cage.pid) if os.path.realpath(f"/proc/{pid}/exe") == command[0]]
        return min(programs) if programs else None
    return cage, wait_or_exit(program, 10, "cage did not start the program", interval=0.1)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("caltrix")
    parser.add_argument("--seconds", type=float, default=60)
    parser.add_argument("--screen", default="1280x1024", help="Xvfb's screen size")
    parser.add_argument("--scale", help="the program's --scale")
    parser.add_argument("--cage", action="store_true", help="under cage's headless 1280x720 output")
    parser.add_argument("--screenshot", help="PNG of the screen at the end (under Xvfb)")
    arguments = sys.argv[1:]
    extra = arguments[arguments.index("--") + 1:] if "--" in arguments else []
    args = parser.parse_args(arguments[:arguments.index("--")] if "--" in arguments else arguments)

    with temporary_folder("caltrix-measure-") as work:
        measure(args, extra, work)


def measure(args, extra, work):
    os.chmod(work, 0o755)
    status = os.path.join(work, "status.json")
    command = [os.path.realpath(args.caltrix), "--demo", "--program-folder", os.path.join(work, "program"),
               "--status-file", status] + (["--scale", args.scale] if args.scale else []) + extra
    if args.cage:
        server, pid = start_cage(work, command)
        program = PidHandle(pid)
    else:
        server, program, display = start_on_xvfb(args.screen, command)
    try:
        wait_or_exit(lambda: every_slot_filled(status), 180, "the display did not fill every slot", interval=1,
                     alive=running(program))
        pids = process_tree(program.pid)
        gui_start, tree_start = cpu_seconds(program.pid), sum(cpu_seconds(p) for p in pids)
        started = time.time()
        rotation, highest_tree = Rotation(), 0.0
        while time.time() - started < args.seconds:
            time.sleep(min(5, max(0.0, args.seconds - (time.time() - started))))
            rotation.sample(status)
            highest_tree = max(highest_tree, tree_rss_kb(program.pid) / 1024)
        elapsed = time.time() - started
        pids = process_tree(program.pid)
        gui_cpu = (cpu_seconds(program.pid) - gui_start) / elapsed * 100
        tree_cpu = (sum(cpu_seconds(p) for p in pids) - tree_start) / elapsed * 100
        print(f"steady display over {elapsed:.0f} s: GUI process {gui_cpu:.1f} % of one core, "
              f"process tree ({len(pids)} processes) {tree_cpu:.1f} %; "
              f"RSS GUI {rss_mb(program.pid):.0f} MB, tree {sum(rss_mb(p) for p in pids):.0f} MB "
              f"(highest {highest_tree:.0f} MB); "
              f"display server ({'cage' if args.cage else 'Xvfb'}) {rss_mb(server.pid):.0f} MB; "
              f"slots rotating {rotation.rotating()} of 11")
        if args.screenshot and not args.cage:
            subprocess.run(["import", "-display", display, "-window", "root", args.screenshot], check=True)
    finally:
        stop_process(program)
        stop_process(server)


if __name__ == "__main__":
    main()
