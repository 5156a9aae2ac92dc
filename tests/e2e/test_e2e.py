#!/usr/bin/python3
"""End-to-end run of the real program against the fault server.

Checks a good page with a given configuration (slot files, selections and
panels through the status file), a change of configuration, and then one
fault after another on the configuration and on the page: the program keeps
running, keeps or rewrites its results as it must, and takes up the next good
page again.

Checks that fail because of a known fault of the program are listed in
KNOWN_FAULTS: they are reported as XFAIL and do not fail the run; when one of
them passes it is reported as XPASS so it can be taken off the list.
"""

import os
import sys
import time
import traceback

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import expected  # noqa: E402
import fault_server  # noqa: E402
import harness  # noqa: E402
from harness import Failure, wait_for  # noqa: E402

KNOWN_FAULTS = set()

EMPTY_SLOT = "\r\n"


class Run:
    def __init__(self, args):
        self.args = args
        self.server = fault_server.FaultServer()
        self.program = None
        self.results = []      # (name, "ok" | "FAIL" | "XFAIL" | "XPASS", detail)
        self.variant = 0

    # -- helpers ----------------------------------------------------------
    def wait(self, condition, what, timeout=None):
        return wait_for(condition, timeout or self.args.deadline, what, alive=self.program.check_alive)

    def stable_slot_files(self):
        """The 11 slot files, read twice the same (the program rewrites them off its UI thread)."""
        def read():
            first = self.program.slot_files()
            time.sleep(0.02)
            second = self.program.slot_files()
            return first if first == second and None not in first.values() else None
        return self.wait(read, "a stable set of slot files")

    def wait_good(self, after_serial, what):
        """Waits until the slot files hold exactly a good page newer than `after_serial`; returns its serial."""
        def good():
            files = self.stable_slot_files()
            serial = fault_server.shown_serial(files[1])
            if serial is not None and serial > after_serial and files == expected.slot_files(serial, self.variant):
                return serial
            return None
        try:
            return self.wait(good, what)
        except Failure:
            files = self.program.slot_files()
            serial = fault_server.shown_serial(files[1])
            want = expected.slot_files(serial or 0, self.variant)
            diff = {k: (files[k], want[k]) for k in files if files[k] != want[k]}
            raise Failure("%s; slot files shown for serial %s differ (got, want): %r" % (what, serial, diff))

    def config_copy(self):
        with open(os.path.join(self.program.folder, "qesa.ris"), "rb") as copy:
            return copy.read()

    def cycle_after(self, moment, what):
        return self.wait(lambda: self.program.last_cycle_after(moment), what)

    def check(self, name, condition, detail="", known=None):
        if known in KNOWN_FAULTS:
            state = "XPASS" if condition else "XFAIL"
        else:
            state = "ok" if condition else "FAIL"
        self.results.append((name, state, detail if state != "ok" else ""))
        print("  %-5s %s%s" % (state, name, (": " + detail) if detail and state != "ok" else ""), flush=True)

    # -- phases -----------------------------------------------------------
    def good_page(self):
        print("good page, configuration variant 0", flush=True)
        serial = self.wait_good(0, "the first good page in the slot files")
        self.check("slot files hold the selected competitions of the page", True)
        status = self.wait(lambda: (s := self.program.status()) and s.get("lastSuccessfulCycle") and s,
                           "a status file with a successful cycle")
        self.check("status lists the configured selections",
                   [s["selection"] for s in status["slots"]] == expected.selections(0),
                   repr([s["selection"] for s in status["slots"]]))
        ok = status["lastSuccessfulCycle"]
        self.check("status counts the page's competitions and matches",
                   ok["competitions"] == 5 and ok["matches"] in
                   {fault_server.match_count(n) for n in range(serial, serial + 3)}
                   and ok["pageBytes"] > 0 and ok["configuration"] == {"outcome": "applied",
                                                                       "bytes": ok["configuration"]["bytes"]}
                   and ok["configuration"]["bytes"] > 0,
                   repr(ok), known="status-cycle-figures")

        # The panels show what their slot files hold: Serie A teams in slot 1,
        # nothing in the slot whose selection names no competition.
        def panels():
            slots = (self.program.status() or {}).get("slots") or []
            if len(slots) != 11:
                return None
            first, unmatched = slots[0], slots[9]
            teams = ("JUVENTUS", "TORINO", "INTER", "ROMA", "LAZIO", "NAPOLI")
            if ("SERIE A" in first["panel"]["title"] and any(t in first["panel"]["text"] for t in teams)
                    and first["panel"]["markup"] and first["lines"] > 0
                    and not unmatched["panel"]["title"] and not unmatched["panel"]["text"].strip()):
                return slots
            return None
        try:
            slots = self.wait(panels, "slot 1's panel showing a Serie A match")
            self.check("panels show the slot's matches in markup", "[" in slots[0]["panel"]["markup"],
                       repr(slots[0]["panel"]))
            self.check("status gives the time of the slot's results",
                       slots[0]["resultsTime"] is not None
                       and harness.parse_time(slots[0]["resultsTime"]) <= time.time(),
                       repr(slots[0]["resultsTime"]))
            self.check("a slot without selected competitions shows nothing", True)
        except Failure as failure:
            slots = (self.program.status() or {}).get("slots") or [{}] * 11
            self.check("panels show the slot's matches", False,
                       "%s; slot 1 %r; slot 10 %r" % (failure, slots[0], slots[9]))

    def configuration_change(self):
        print("configuration change to variant 1", flush=True)
        before = self.server.serial
        self.variant = 1
        self.server.set_modes(variant=1)
        self.wait_good(before, "slot files following the new selections")
        status = self.wait(lambda: (s := self.program.status()) and
                           [x["selection"] for x in s["slots"]] == expected.selections(1) and s,
                           "the new selections in the status file")
        self.check("a new configuration reaches slot files and status", bool(status))

    def classify(self, last, files, kept, served_at, fault_serials):
        """Names what a cycle that met a fault left behind."""
        latest = max([r["serial"] for r in self.server.requests("page", "good") if r["time"] < served_at] or [0])
        if files == kept or files == expected.slot_files(latest, self.variant):
            # The engine may still have finished the last good page after its
            # own cycle had saved the one before; that page counts as kept too.
            return "failed, kept" if last["outcome"] == "failed" else "kept"
        if all(f == EMPTY_SLOT for f in files.values()):
            return "emptied"
        serial = fault_server.shown_serial(files[1])
        if serial in fault_serials:
            return "new page" if files == expected.slot_files(serial, self.variant) else "partial page"
        return "other: slot 1 %r" % files[1]

    def fault(self, name, target, mode, allowed, known=None, wait_for_outcome=None):
        """Serves `mode` on `target` until two cycles have met it and checks what they
        left behind against `allowed` outcomes; then serves good answers again and
        waits for new scores. With `wait_for_outcome` the fault stays until that
        outcome shows (for outcomes that need the page to have loaded)."""
        print("%s (%s %s)" % (name, target, mode), flush=True)
        start = time.time()
        serial_before = self.server.serial
        if mode == "down":
            self.server.stop_listening()
            first = self.wait(lambda: (c := self.program.last_cycle_after(start)) and c["outcome"] == "failed"
                              and c, "a failed cycle with the server down")
            served_at = harness.parse_time(first["time"])
        else:
            self.server.set_modes(**{target: mode})
            request = self.wait(lambda: self.server.requests(target, mode, since=start), "the program to ask")
            served_at = request[0]["time"]
        kept = self.stable_slot_files()
        self.cycle_after(served_at, "the end of the cycle that met the fault")
        second_start = time.time()
        last = self.wait(lambda: (c := self.program.last_cycle_after(second_start)) and c,
                         "a second cycle meeting the fault")

        def outcome():
            cycle = self.program.status()["lastCycle"]
            serials = [r["serial"] for r in self.server.requests(target, mode, since=start)]
            return cycle, self.classify(cycle, self.stable_slot_files(), kept, served_at, serials)
        last, result = outcome()
        if wait_for_outcome and result != wait_for_outcome:
            try:
                last, result = self.wait(lambda: (o := outcome())[1] == wait_for_outcome and o,
                                         "outcome %r" % wait_for_outcome)
            except Failure:
                last, result = outcome()
        self.program.check_alive()
        self.check("%s: %s" % (name, result), result in allowed, "allowed: %s" % ", ".join(allowed), known=known)
        if target == "config" and result.startswith("failed"):
            # Every cycle fails while the configuration does; a page fault may
            # let a cycle end well on the document the engine still holds.
            status = self.program.status()
            self.check(name + ": last success predates the fault",
                       harness.parse_time(status["lastSuccessfulCycle"]["time"]) < served_at,
                       repr(status["lastSuccessfulCycle"]))
        if mode == "down":
            self.check(name + ": the configuration is kept apart from the page's failure",
                       last["configuration"]["outcome"] == "kept" and "config" in last["configuration"]["error"],
                       repr(last))
            self.server.start_listening()
        if mode != "down":
            self.server.set_modes(**{target: "good"})
        self.wait_good(max(serial_before, self.server.serial), name + ": recovery with new scores")
        self.check(name + ": recovered with new scores", True)

    def stale_mark(self):
        """No good cycle for longer than --stale-after (180 s, scaled): the status says the
        results are stale until the first good cycle."""
        print("stale mark (everything down for longer than --stale-after)", flush=True)
        before = self.server.serial
        self.server.stop_listening()
        status = self.wait(lambda: (s := self.program.status()) and s["stale"] and s, "the stale flag",
                           timeout=self.args.deadline + 180 * self.args.time_scale)
        self.check("results marked stale after the set time without a good cycle",
                   status["lastCycle"]["outcome"] == "failed", repr(status["lastCycle"]))
        self.server.start_listening()
        self.wait_good(before, "new scores after the stale time")
        self.wait(lambda: (s := self.program.status()) and not s["stale"], "the stale flag cleared")
        self.check("stale mark gone at the first good cycle", True)

    def config_fault(self, name, mode, reason):
        """The configuration cannot be had: the one last applied stays (qesa.ris too), the
        page is fetched all the same and new scores show; the status names `reason`."""
        print("%s (config %s)" % (name, mode), flush=True)
        start = time.time()
        before = self.server.serial
        copy = self.config_copy()
        self.server.set_modes(config=mode)
        self.wait(lambda: self.server.requests("config", mode, since=start), "the program to ask")
        self.wait_good(before, name + ": new scores while the configuration fails")
        cycle = self.wait(lambda: (c := self.program.last_cycle_after(start)) and c["outcome"] == "ok"
                          and c["configuration"]["outcome"] == "kept" and c,
                          name + ": a good cycle that kept the configuration")
        self.check(name + ": results flow, the configuration last applied stays", True)
        self.check(name + ": status names why the configuration was kept",
                   reason in cycle["configuration"]["error"], repr(cycle["configuration"]))
        self.check(name + ": qesa.ris is not rewritten", self.config_copy() == copy)
        restored = time.time()
        self.server.set_modes(config="good")
        self.wait(lambda: (c := self.program.last_cycle_after(restored)) and c["configuration"]["outcome"] == "applied",
                  name + ": the configuration applied again")

    def button_line_without_colon(self):
        """A button line without ":" is skipped: the other lines apply and the page is still fetched."""
        print("button line without a target (config no_colon)", flush=True)
        before = self.server.serial
        start = time.time()
        self.server.set_modes(config="no_colon")
        self.wait(lambda: self.server.requests("config", "no_colon", since=start), "the program to ask")
        self.wait_good(before, "new scores while a button line has no target")
        self.check("button line without a target: the line is skipped and the cycle goes on", True)
        self.server.set_modes(config="good")

    def lf_only_configuration(self):
        print("configuration with LF line ends", flush=True)
        start = time.time()
        self.server.set_modes(config="lf_only", variant=2)
        request = self.wait(lambda: self.server.requests("config", "lf_only", since=start), "the program to ask")
        # The page of a cycle may still fail on its own (the scaled wait); the
        # configuration stays LF-only until a cycle has ended well with it.
        cycle = self.wait(lambda: (c := self.program.last_cycle_after(request[0]["time"])) and c["outcome"] == "ok"
                          and c, "a good cycle with the LF-only configuration")

        # The whole file is one line: slot 1 takes the rest of the file as its
        # selection, every other slot keeps its selection.
        def applied():
            slots = (self.program.status() or {}).get("slots") or []
            return len(slots) == 11 and slots[0]["selection"].startswith("ITALY-SERIEA;\n02=") and slots
        slots = self.wait(applied, "slot 1's selection from the one long line")
        self.check("LF-only configuration is one line for its first key",
                   [s["selection"] for s in slots[1:]] == expected.selections(1)[1:],
                   repr([s["selection"] for s in slots]))
        self.check("LF-only configuration ends well", cycle["outcome"] == "ok", repr(cycle))
        before = self.server.serial
        self.server.set_modes(config="good", variant=1)
        self.wait_good(before, "the CR LF configuration taken up again")

    def run(self):
        print("caltrix:", self.args.caltrix, "server:", self.server.base, flush=True)
        self.program = harness.Program(self.args.caltrix, harness.endpoint_options(self.server.base),
                                       self.args.time_scale, keep=self.args.keep)
        self.program.find_pid()
        self.good_page()
        self.configuration_change()
        failed = ("failed, kept",)
        self.fault("server down", "config", "down", failed)
        self.stale_mark()
        self.config_fault("configuration HTTP 500", "http500", "500")
        self.config_fault("configuration slower than the time-out", "hang", "within")
        self.config_fault("configuration reset", "reset", "config.txt")
        self.config_fault("configuration over 1 MiB", "huge", "bytes accepted")
        self.button_line_without_colon()
        # Page faults. With the scaled wait the save can come before the engine
        # has reported how the load ended; then what it holds is saved, as a
        # real page still loading after the wait would be.
        self.fault("page HTTP 500", "page", "http500", ("failed, kept", "kept", "emptied"))
        self.fault("page reset", "page", "reset", ("failed, kept", "kept"))
        self.fault("page that never answers", "page", "hang", ("failed, kept", "kept"))
        self.fault("truncated page", "page", "truncated", ("failed, kept", "kept", "partial page"))
        self.fault("20 MB page", "page", "big", ("failed, kept", "kept", "new page", "partial page"))
        # What is not a live-score page at all keeps the last results.
        self.fault("binary garbage page", "page", "garbage", ("failed, kept",), wait_for_outcome="failed, kept")
        self.fault("empty page", "page", "empty", ("failed, kept",), wait_for_outcome="failed, kept")
        self.lf_only_configuration()
        problems = harness.schema_problems(self.program.status())
        self.check("the status file matches its schema", not problems, "; ".join(problems[:3]))
        self.program.check_alive()
        self.check("program alive at the end", True)

    def close(self):
        harness.stop_run(self.program, self.server, self.args.keep)


def main():
    args = harness.display_run_arguments(__doc__.splitlines()[0], time_scale=0.03, deadline=45.0)
    run = Run(args)
    began = time.monotonic()
    code = 0
    try:
        run.run()
    except Failure as failure:
        print("FAIL:", failure, flush=True)
        code = 1
    except Exception:  # noqa: BLE001 - any error ends the run with a report
        traceback.print_exc()
        code = 1
    finally:
        run.close()
    failed = [r for r in run.results if r[1] in ("FAIL",)]
    xfail = [r[0] for r in run.results if r[1] == "XFAIL"]
    xpass = [r[0] for r in run.results if r[1] == "XPASS"]
    print("%d checks, %d failed, %d known faults (XFAIL), %d XPASS, %.0f s"
          % (len(run.results), len(failed), len(xfail), len(xpass), time.monotonic() - began))
    for name in xpass:
        print("XPASS (take off KNOWN_FAULTS):", name)
    return 1 if failed or code else 0


if __name__ == "__main__":
    sys.exit(main())
