#!/usr/bin/python3
"""Accelerated soak: the real program against the fault server's random mix of
good and bad answers for a fixed number of cycles, watched from outside.

After the run it checks that
  - the program never ended (and was never restarted),
  - every good page showed in the slot files and the status file within two
    cycles (pages that had not loaded when the shortened wait ran out are
    counted apart: with a scaled clock the wait can be shorter than the
    engine needs on a busy machine); a configuration that cannot be had
    never stops a cycle: the page is fetched all the same,
  - there were never more than 1000 combined result files,
  - the program's open descriptors stayed flat (after warm-up vs. the end),
  - the memory of the process tree (program plus its engine helpers) does not
    grow: the least-squares slope of the per-window minimum of the summed
    VmRSS after warm-up stays under the bound (MB per 100 cycles). Window
    minima take out the short peaks of large pages; a leak lifts the floor.
It prints one summary line and exits non-zero when a check fails.
"""

import argparse
import os
import signal
import statistics
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import fault_server  # noqa: E402
import harness  # noqa: E402

MAX_COMBINED = 1000


def slope(xs, ys):
    if len(xs) < 2:
        return 0.0
    mx, my = statistics.fmean(xs), statistics.fmean(ys)
    sxx = sum((x - mx) ** 2 for x in xs)
    return sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sxx if sxx else 0.0


class Soak:
    def __init__(self, args):
        self.args = args
        mix = {kind: dict(weights) if isinstance(weights, dict) else weights
               for kind, weights in fault_server.DEFAULT_MIX.items()}
        for name in args.without:
            kind, _, mode = name.partition(":")
            if mode == "good" or mode not in mix.get(kind, {}):
                raise SystemExit("soak: --without takes config:MODE or page:MODE (not good), not %r" % name)
            del mix[kind][mode]
        self.server = fault_server.FaultServer(seed=args.seed, mix=mix)
        # The configuration request that draws "down" is reset, and the page
        # request of the same cycle finds the port closed.
        self.server.down_seconds = max(0.2, 6 * args.time_scale)
        self.program = None
        self.samples = []   # one per ended cycle
        self.problems = []

    def sample(self, cycle, last_status_time):
        """What the program shows right after cycle `cycle` ended."""
        program = self.program
        # The status file is written just after the cycle's log line.
        deadline = time.monotonic() + 2.0
        status = program.status()
        while time.monotonic() < deadline:
            status = program.status()
            if status and status.get("lastCycle") and status["lastCycle"]["time"] != last_status_time:
                break
            time.sleep(0.02)
        files = program.slot_files()
        ok = (status or {}).get("lastSuccessfulCycle")
        return {
            "cycle": cycle[0], "outcome": cycle[1], "line": cycle[2], "time": cycle[3], "loading": cycle[4],
            "serial": fault_server.shown_serial(files.get(1)),
            "status_cycle": (status or {}).get("lastCycle", {}) and status["lastCycle"]["time"],
            "status_success": harness.parse_time(ok["time"]) if ok else 0.0,
            "combined": len(program.combined_files()),
            "fds": program.fds(),
            "rss_kb": program.tree_rss_kb(),
            "main_rss_kb": harness.rss_kb(program.pid),
            "tree": len(program.tree()),
        }

    def run(self):
        args = self.args
        self.program = harness.Program(args.caltrix, harness.endpoint_options(self.server.base), args.time_scale,
                                       keep=args.keep)
        pid = self.program.find_pid()
        began = time.monotonic()
        limit = args.cycles * args.max_seconds_per_cycle + 120
        seen = 0
        last_status_time = None
        while len(self.samples) < args.cycles:
            self.program.check_alive()
            if self.program.pid != pid:
                raise harness.Failure("the program was restarted")
            if time.monotonic() - began > limit:
                raise harness.Failure("only %d of %d cycles in %.0f s" % (len(self.samples), args.cycles, limit))
            with self.program.lock:
                new = self.program.cycles[seen:]
            seen += len(new)
            for cycle in new:
                sample = self.sample(cycle, last_status_time)
                last_status_time = sample["status_cycle"]
                self.samples.append(sample)
                if args.verbose and len(self.samples) % 25 == 0:
                    print("  %d cycles, rss %.0f MB, fds %d, %d files"
                          % (len(self.samples), sample["rss_kb"] / 1024, sample["fds"], sample["combined"]),
                          flush=True)
            time.sleep(0.03)
        self.program.check_alive()
        self.elapsed = time.monotonic() - began

    def reflection(self):
        """Good pages that did not show within two cycles: (missed, late loads)."""
        missed, late = [], []
        for request in self.server.requests("page", "good"):
            following = [s for s in self.samples if s["time"] > request["time"]][:2]
            if len(following) < 2:
                continue  # served too close to the end of the run
            serial = request["serial"]
            if any(s["serial"] is not None and s["serial"] >= serial and s["status_success"] >= request["time"]
                   for s in following):
                continue
            first = following[0]
            if first["loading"] or "page saving" in first["line"] or " page 0 bytes " in first["line"]:
                late.append(serial)
            else:
                missed.append((serial, first["cycle"], first["line"][-150:]))
        return missed, late

    def report(self):
        args = self.args
        samples = self.samples
        warm = [s for s in samples if s["cycle"] > args.warmup] or samples
        rss = [(s["cycle"], s["rss_kb"] / 1024.0) for s in warm]
        # Per-window floor of the tree's memory.
        floors = []
        for i in range(0, len(rss), args.window):
            window = rss[i:i + args.window]
            if len(window) == args.window:
                low = min(window, key=lambda p: p[1])
                floors.append(low)
        floor_slope = slope([p[0] for p in floors], [p[1] for p in floors]) * 100
        raw_slope = slope([p[0] for p in rss], [p[1] for p in rss]) * 100
        fd_start = int(statistics.median(s["fds"] for s in warm[:5]))
        fd_end = int(statistics.median(s["fds"] for s in warm[-5:]))
        max_files = max(s["combined"] for s in samples)
        missed, late = self.reflection()
        good = len(self.server.requests("page", "good"))
        outcomes = {o: sum(1 for s in samples if s["outcome"] == o) for o in ("done", "failed")}
        faults = {k: v for k, v in sorted(self.server.counts.items()) if not k.endswith(":good")}

        stopped = [s["line"][-150:] for s in samples if "at the configuration" in s["line"]]
        if stopped:
            self.problems.append("%d cycles stopped at the configuration, e.g. %r" % (len(stopped), stopped[0]))
        if missed:
            self.problems.append("%d good pages not shown within two cycles, e.g. %r" % (len(missed), missed[:3]))
        if max_files > MAX_COMBINED:
            self.problems.append("%d combined result files" % max_files)
        if fd_end - fd_start > args.fd_slack:
            self.problems.append("descriptors grew from %d to %d" % (fd_start, fd_end))
        if len(floors) >= 3 and floor_slope > args.rss_bound:
            self.problems.append("memory floor grows %.2f MB per 100 cycles (bound %.2f)" % (floor_slope, args.rss_bound))
        if len(floors) < 3:
            self.problems.append("too few cycles after warm-up to judge memory (%d windows)" % len(floors))

        summary = ("soak: cycles=%d (%.0f s, scale %s, seed %d) ok=%d failed=%d good_pages=%d still_loading_at_save=%d missed=%d "
                   "faults={%s} rss_start=%.0fMB rss_end=%.0fMB rss_slope=%.2fMB/100cycles (floor %.2f, bound %.2f) "
                   "rss_peak=%.0fMB program_rss_start=%.0fMB program_rss_end=%.0fMB "
                   "fd_start=%d fd_end=%d max_video_files=%d restarts=0 result=%s"
                   % (len(samples), self.elapsed, args.time_scale, args.seed, outcomes["done"], outcomes["failed"],
                      good, len(late), len(missed), ",".join("%s:%d" % kv for kv in faults.items()),
                      rss[0][1] if rss else 0, rss[-1][1] if rss else 0, raw_slope, floor_slope, args.rss_bound,
                      max(p[1] for p in rss) if rss else 0, warm[0]["main_rss_kb"] / 1024.0,
                      warm[-1]["main_rss_kb"] / 1024.0,
                      fd_start, fd_end, max_files, "FAIL" if self.problems else "PASS"))
        for problem in self.problems:
            print("problem:", problem)
        print(summary, flush=True)
        if args.samples:
            with open(args.samples, "w") as out:
                for s in samples:
                    out.write("%d %s %s %d %d %d %d %d\n" % (s["cycle"], s["outcome"], s["serial"], s["combined"],
                                                             s["fds"], s["rss_kb"], s["main_rss_kb"], s["tree"]))
        return not self.problems

    def close(self):
        harness.stop_run(self.program, self.server, self.args.keep)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--caltrix", required=True)
    parser.add_argument("--cycles", type=int, default=200)
    parser.add_argument("--time-scale", type=float, default=0.04)
    parser.add_argument("--seed", type=int, default=7)
    parser.add_argument("--warmup", type=int, default=None, help="cycles before memory and descriptors count")
    parser.add_argument("--window", type=int, default=10, help="cycles per memory floor window")
    parser.add_argument("--rss-bound", type=float, default=1.0, help="MB per 100 cycles")
    parser.add_argument("--fd-slack", type=int, default=8)
    parser.add_argument("--max-seconds-per-cycle", type=float, default=10.0)
    parser.add_argument("--without", action="append", default=[], metavar="KIND:MODE",
                        help="leave a fault out of the mix, e.g. page:big (to tell causes apart)")
    parser.add_argument("--samples", help="write one line per cycle to this file")
    parser.add_argument("--keep", action="store_true")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    # A polite stop (kill, a CI time-out) still cleans up.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    if args.warmup is None:
        args.warmup = max(20, args.cycles // 10)
    soak = Soak(args)
    try:
        soak.run()
        passed = soak.report()
    except harness.Failure as failure:
        print("soak: FAIL:", failure, flush=True)
        if soak.samples:
            soak.elapsed = 0.0
            soak.problems.append(str(failure))
            soak.report()
        passed = False
    finally:
        soak.close()
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
