#!/usr/bin/python3
"""Measures the update cycle of the real program against the local fault server
(tests/e2e/fault_server.py), under Xvfb:

  first-results  seconds from start to the first match in a slot file and on a
                 panel (from the status file), at the real time scale
  down           requests per minute to the endpoint and the site while both
                 answer with a fault (--mode http500 | reset | hang)
  big-config     the program's peak resident memory (VmHWM) while the endpoint
                 serves a 64 MB configuration, next to a run with a good one

Usage: scripts/measure_cycle.py BUILD/bin/Caltrix first-results|down|big-config [options]
"""

import argparse
import os
import re
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

import fault_server  # noqa: E402
import harness  # noqa: E402


def peak_kb(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def run(caltrix, server, time_scale, body):
    """Starts the program and hands it to `body` with the moment it was started."""
    began = time.monotonic()
    program = harness.Program(caltrix, harness.endpoint_options(server.base), time_scale)
    try:
        program.find_pid()
        return body(program, began)
    finally:
        program.stop()


def first_results(args):
    server = fault_server.FaultServer()
    try:
        def body(program, began):
            in_file = on_panel = None
            while time.monotonic() - began < args.seconds and on_panel is None:
                program.check_alive()
                if in_file is None and re.search(r"JUVENTUS <\d+-\d+>", program.slot_file(1) or ""):
                    in_file = time.monotonic() - began
                slots = (program.status() or {}).get("slots") or []
                if slots and any(s["panel"]["text"].strip() for s in slots):
                    on_panel = time.monotonic() - began
                time.sleep(0.05)
            return in_file, on_panel
        in_file, on_panel = run(args.caltrix, server, 1.0, body)
    finally:
        server.close()
    print("first results: match in a slot file after %s s, on a panel after %s s (from the program's start, "
          "Xvfb start-up included)" % (fmt(in_file), fmt(on_panel)))


def down(args):
    server = fault_server.FaultServer()
    server.set_modes(config=args.mode, page=args.mode)
    try:
        def body(program, _):
            time.sleep(args.seconds)
            program.check_alive()
        began = time.time()
        run(args.caltrix, server, args.time_scale, body)
        ended = time.time()
    finally:
        server.close()
    # Rates per minute of the program's clock, over the whole run and from the
    # first tick (60 s after start) on, when cycles follow each other.
    first_tick = began + 60 * args.time_scale
    for label, since in (("whole run", began), ("from the first tick", first_tick)):
        minutes = (ended - since) / 60.0 / args.time_scale
        config = len(server.requests("config", since=since))
        page = len(server.requests("page", since=since))
        print("endpoint and site answering %s, %s: %.1f program minutes (scale %s), %d configuration and %d page "
              "requests, %.2f and %.2f per minute" % (args.mode, label, minutes, args.time_scale, config, page,
                                                      config / minutes, page / minutes))


def big_config(args):
    figures = {}
    for mode in ("good", "huge"):
        server = fault_server.FaultServer()
        server.set_modes(config=mode)
        try:
            def body(program, began):
                while len(program.cycles) < args.cycles and time.monotonic() - began < 300:
                    program.check_alive()
                    time.sleep(0.2)
                return peak_kb(program.pid), list(program.cycles)
            figures[mode] = run(args.caltrix, server, args.time_scale, body)
        finally:
            server.close()
    for mode, (peak, cycles) in figures.items():
        print("configuration %s: %d cycles, program peak RSS (VmHWM) %.1f MB; last cycle: %s"
              % ("of 64 MB" if mode == "huge" else "good", len(cycles), peak / 1024.0,
                 cycles[-1][2][-160:] if cycles else "none"))


def fmt(seconds):
    return "%.1f" % seconds if seconds is not None else "never"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("caltrix")
    parser.add_argument("what", choices=("first-results", "down", "big-config"))
    parser.add_argument("--seconds", type=float, default=120.0, help="how long to watch (real seconds)")
    parser.add_argument("--mode", default="http500", choices=("http500", "reset", "hang"))
    parser.add_argument("--time-scale", type=float, default=1.0)
    parser.add_argument("--cycles", type=int, default=5, help="cycles per run of big-config")
    args = parser.parse_args()
    {"first-results": first_results, "down": down, "big-config": big_config}[args.what](args)


if __name__ == "__main__":
    main()
