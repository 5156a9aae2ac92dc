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
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from every_slot_filled import every_slot_filled

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def children_of():
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    fields = stat.read().rsplit(")", 1)[1].split()
                parents.setdefault(int(fields[1]), []).append(int(entry))
            except OSError:
                pass
    return parents


def tree(pid):
    parents, found, todo = children_of(), [], [pid]
    while todo:
        current = todo.pop()
        found.append(current)
        todo.extend(parents.get(current, []))
    return found


def cpu_seconds(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS
    except OSError:
        return 0.0


def rss_mb(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1]) / 1024
    except OSError:
        pass
    return 0.0


class PidHandle:
    """The few calls of subprocess.Popen the measurement needs, for a process
    that another one started (the program under cage)."""

    def __init__(self, pid):
        self.pid = pid

    def poll(self):
        return None if os.path.exists(f"/proc/{self.pid}") else 0

    def send_signal(self, number):
        try:
            os.kill(self.pid, number)
        except ProcessLookupError:
            pass

    def wait(self, timeout):
        deadline = time.time() + timeout
        while self.poll() is None:
            if time.time() > deadline:
                raise subprocess.TimeoutExpired("Caltrix", timeout)
            time.sleep(0.1)

    def kill(self):
        self.send_signal(signal.SIGKILL)


def read_slots(status_path):
    try:
        with open(status_path) as status_file:
            return json.load(status_file)["slots"]
    except (OSError, ValueError, KeyError):
        return []


class Rotation:
    """The panel texts each slot showed: a slot rotates when it showed more
    than one of its matches, or its only one."""

    def __init__(self):
        self.texts, self.lines = {}, {}

    def sample(self, status_path):
        for slot in read_slots(status_path):
            self.texts.setdefault(slot["slot"], set()).add(slot["panel"]["text"])
            self.lines[slot["slot"]] = slot["lines"]

    def rotating(self):
        return sum(1 for number, texts in self.texts.items() if len(texts) >= min(2, self.lines.get(number, 2)))


def start_xvfb(screen, command):
    """Starts Xvfb on a free display and the program on it; returns (server, program, display)."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{screen}x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=[write_end])
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        display = ":" + numbers.readline().strip()
    environment = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", DISPLAY=display)
    program = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return server, program, display


def start_cage(work, command):
    """Starts cage with a headless output and the program in it, as the user
    caltrix-check when run as root (cage refuses root); returns (cage, program)."""
    runtime = os.path.join(work, "runtime")
    as_user = []
    if os.geteuid() == 0:
        shutil.chown(work, "caltrix-check", "caltrix-check")
        as_user = ["setpriv", "--reuid=caltrix-check", "--regid=caltrix-check", "--init-groups", "--reset-env", "--"]
    subprocess.run(as_user + ["mkdir", "-m", "700", runtime], check=True)
    cage = subprocess.Popen(as_user + ["env", f"HOME={work}", f"XDG_RUNTIME_DIR={runtime}", "PATH=/usr/bin:/bin",
                                       "WLR_BACKENDS=headless", "WLR_RENDERER=pixman", "WLR_LIBINPUT_NO_DEVICES=1",
                                       "QT_QPA_PLATFORM=wayland", "cage", "-d", "--"] + command,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    for _ in range(100):
        programs = [pid for pid in tree(cage.pid) if os.path.realpath(f"/proc/{pid}/exe") == command[0]]
        if programs:
            return cage, min(programs)
        time.sleep(0.1)
    sys.exit("cage did not start the program")


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

    work = tempfile.mkdtemp(prefix="caltrix-measure-")
    os.chmod(work, 0o755)
    status = os.path.join(work, "status.json")
    command = [os.path.realpath(args.caltrix), "--demo", "--program-folder", os.path.join(work, "program"),
               "--status-file", status] + (["--scale", args.scale] if args.scale else []) + extra
    if args.cage:
        server, pid = start_cage(work, command)
        program = PidHandle(pid)
    else:
        server, program, display = start_xvfb(args.screen, command)
    try:
        deadline = time.time() + 180
        while not every_slot_filled(status):
            if time.time() > deadline or program.poll() is not None:
                sys.exit("the display did not fill every slot")
            time.sleep(1)
        pids = tree(program.pid)
        gui_start, tree_start = cpu_seconds(program.pid), sum(cpu_seconds(p) for p in pids)
        started = time.time()
        rotation, highest_tree = Rotation(), 0.0
        while time.time() - started < args.seconds:
            time.sleep(min(5, max(0.0, args.seconds - (time.time() - started))))
            rotation.sample(status)
            highest_tree = max(highest_tree, sum(rss_mb(p) for p in tree(program.pid)))
        elapsed = time.time() - started
        pids = tree(program.pid)
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
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
        server.terminate()
        server.wait()
        subprocess.run(["rm", "-rf", work])


if __name__ == "__main__":
    main()
