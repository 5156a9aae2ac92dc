#!/usr/bin/env python3
"""Measures the display's steady cost: starts Caltrix on its demo feed under
Xvfb, waits until every slot shows matches (several of them running and
flashing), then samples for a while the CPU time and memory of the GUI
process and of its whole process tree (the web engine's helper processes).

Usage: measure_display.py CALTRIX [--seconds 60]
"""
import argparse
import json
import os
import signal
import subprocess
import sys
import tempfile
import time

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


def every_slot_running(status_path):
    try:
        with open(status_path) as status_file:
            slots = json.load(status_file)["slots"]
    except (OSError, ValueError, KeyError):
        return False
    return all(slot["panel"]["title"] for slot in slots)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("caltrix")
    parser.add_argument("--seconds", type=float, default=60)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="caltrix-measure-")
    status = os.path.join(work, "status.json")
    environment = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1")
    xvfb = subprocess.Popen(["Xvfb", ":77", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1)
    environment["DISPLAY"] = ":77"
    program = subprocess.Popen([args.caltrix, "--demo", "--program-folder", os.path.join(work, "program"),
                                "--status-file", status], env=environment,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.time() + 180
        while not every_slot_running(status):
            if time.time() > deadline or program.poll() is not None:
                sys.exit("the display did not fill every slot")
            time.sleep(1)
        pids = tree(program.pid)
        gui_start, tree_start = cpu_seconds(program.pid), sum(cpu_seconds(p) for p in pids)
        started = time.time()
        time.sleep(args.seconds)
        elapsed = time.time() - started
        pids = tree(program.pid)
        gui_cpu = (cpu_seconds(program.pid) - gui_start) / elapsed * 100
        tree_cpu = (sum(cpu_seconds(p) for p in pids) - tree_start) / elapsed * 100
        print(f"steady display over {elapsed:.0f} s: GUI process {gui_cpu:.1f} % of one core, "
              f"process tree ({len(pids)} processes) {tree_cpu:.1f} %; "
              f"RSS GUI {rss_mb(program.pid):.0f} MB, tree {sum(rss_mb(p) for p in pids):.0f} MB")
    finally:
        program.send_signal(signal.SIGTERM)
        try:
            program.wait(timeout=10)
        except subprocess.TimeoutExpired:
            program.kill()
        xvfb.terminate()
        subprocess.run(["rm", "-rf", work])


if __name__ == "__main__":
    main()
