#!/usr/bin/python3
"""End-to-end run of the display on live match data: a stand-in football-data
server on 127.0.0.1 that checks the key header, Caltrix polling it with
--feed football-data and serving its configuration from --local-config.

Checks that the key travels in X-Auth-Token (and never into the log), that
the requested competitions reach the slot files the local configuration
selects them for, and that a refused key is logged once while the display
keeps its results and its status file names the fault, until the key is
taken again.
"""

import datetime
import os
import re
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from football_data_stand_in import StandIn  # noqa: E402
from harness import Failure, wait_for  # noqa: E402

KEY = "e2e-key-0123456789abcdef"
CONFIG = ("00=feed end-to-end\r\n01=SERIEA;\r\n02=PREMIERLEAGUE;\r\n03=TURKEY;\r\n04=PRIMERADIVISION;\r\n"
          "09=banner.htm\r\n10=banner.htm\r\n11=banner.htm\r\n12=live match data\r\n")


def zone_near_midday():
    """A fixed-offset zone in which it is now about noon, so that the stand-in's
    kick-offs (a little over two hours either side of now) all fall on the
    screen's local day, whatever the hour of the run."""
    offset = 12 - datetime.datetime.now(datetime.timezone.utc).hour
    offset = offset + 24 if offset < -12 else offset - 24 if offset > 14 else offset
    # The Etc zones count west of Greenwich as positive: UTC+5 is Etc/GMT-5.
    return "Etc/GMT%+d" % -offset if offset else "Etc/UTC"


def run(args, root):
    stand_in = StandIn(KEY)
    display = None
    try:
        config = os.path.join(root, "public")
        os.makedirs(config)
        with open(os.path.join(config, "config.txt"), "wb") as f:
            f.write(CONFIG.encode("cp1252"))
        with open(os.path.join(config, "banner.htm"), "w") as f:
            f.write("<html><body>banner</body></html>")
        token = os.path.join(root, "token")
        with open(token, "w") as f:
            f.write("  %s\n" % KEY)
        os.chmod(token, 0o600)

        display = harness.Program(args.caltrix, [
            "--feed", "football-data", "--feed-token-file", token, "--feed-url", stand_in.base,
            "--feed-competitions", "SA,PL,TSL", "--feed-interval", "1", "--local-config", config,
            "--time-zone", zone_near_midday()],
            args.time_scale, keep=args.keep)
        display.find_pid()

        def slot(k):
            return display.slot_file(k) or ""

        def feed_status():
            status = display.status()
            if status is None:
                return None
            problems = harness.schema_problems(status)
            if problems:
                raise Failure("the status file does not match its schema: %s" % "; ".join(problems[:3]))
            return status.get("feed")

        def shows_matches():
            return "JUVENTUS" in slot(1) and "ARSENAL" in slot(2) and "BESIKTAS" in slot(3)
        wait_for(shows_matches, args.deadline, "the matches in slots 1-3", alive=display.check_alive)
        slots = [slot(k) for k in (1, 2, 3, 4)]
        print("slot 1:", slots[0].replace("\r\n", " | "))
        if "ITALY-SERIE A" not in slots[0] or "PREMIER" in slots[0]:
            raise Failure("slot 1 holds more or less than Serie A: %r" % slots[0])
        if slots[3].strip():
            raise Failure("slot 4 shows a competition that was not requested: %r" % slots[3])
        if any(token_seen != KEY for _, _, token_seen in stand_in.requests):
            raise Failure("a request came without the key in X-Auth-Token")
        if any("competitions=SA,PL,TSL" not in path for _, path, _ in stand_in.requests):
            raise Failure("a request without the competitions: %r" % stand_in.requests[-1][1])

        # A refused key: one log line, the results stay.
        stand_in.key = "another key"
        refused = re.compile(r"football-data: key refused \(HTTP 403\)")
        wait_for(lambda: refused.search(display.log_text()), args.deadline, "the refused key in the log",
                 alive=display.check_alive)
        seen = time.time()
        wait_for(lambda: len(display.cycles_since(seen)) >= 2, args.deadline, "two more cycles",
                 alive=display.check_alive)
        if "JUVENTUS" not in slot(1):
            raise Failure("the results went with the refused key: %r" % slot(1))
        wait_for(lambda: "key refused" in ((feed_status() or {}).get("fault") or ""), args.deadline,
                 "the refused key in the status file", alive=display.check_alive)
        print("status file:", feed_status())
        stand_in.key = KEY
        wait_for(lambda: "football-data: answering again" in display.log_text(), args.deadline,
                 "polling to work again", alive=display.check_alive)
        log = display.log_text()
        if len(refused.findall(log)) != 1:
            raise Failure("the refused key was logged %d times" % len(refused.findall(log)))
        if KEY in log:
            raise Failure("the key is in the log")
        print("log:", *[line for line in log.splitlines() if "football-data" in line], sep="\n  ")
    finally:
        harness.stop_run(display, stand_in, args.keep)


def main():
    args = harness.display_run_arguments(__doc__.splitlines()[0], time_scale=0.05, deadline=60.0)
    return harness.run_in_folder("caltrix-feed-e2e-", args.keep, lambda root: run(args, root), "ok")


if __name__ == "__main__":
    sys.exit(main())
