#!/usr/bin/python3
"""Measures caltrix-feed under a fleet's reports: N simulated screens (1,000
by default) each send their status report once a minute and a picture every
5 minutes, time-compressed (--compress 4.8: a report every 12.5 s, a picture every 62.5 s,
just within the feed's one-picture-a-minute limit), all on
127.0.0.1, for a bounded time. Meanwhile an operator's client loads the page
(/screens) and its data (/feed/screens/) several times a second.

Reports: the answer times of the page, its data and the reports (p50, p99,
worst), refused or failed requests, and caltrix-feed's resident memory
before the screens and with all of them known, per 1,000 screens.

Usage: scripts/measure_fleet_reports.py BUILD/bin/caltrix-feed [--screens 1000] [--seconds 120]
"""

import argparse
import heapq
import http.client
import json
import os
import random
import sys
import threading
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from monitoring import Feed  # noqa: E402
from harness import rss_kb, temporary_folder  # noqa: E402


def status_document(index):
    cycle = {"time": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime()), "outcome": "ok",
             "configuration": {"outcome": "applied", "bytes": 412}, "pageBytes": 81234, "competitions": 11,
             "matches": 30}
    slots = [{"slot": k, "selection": "SERIEA;", "lines": 3, "resultsTime": cycle["time"],
              "panel": {"title": "ITALY-SERIE A", "text": "\r\nJUVENTUS-INTER %d\r\n" % index,
                        "markup": "[14]67\" [15]2-1"}, "goal": None} for k in range(1, 12)]
    return json.dumps({"program": {"version": "0.1.0", "started": cycle["time"]}, "written": cycle["time"],
                       "stale": index % 17 == 0, "lastCycle": cycle, "lastSuccessfulCycle": cycle,
                       "screen": {"uptimeSeconds": 3600, "residentMemoryBytes": 190_000_000, "rendererRestarts": 0,
                                  "cycles": {"ok": 100, "failed": 1}},
                       "slots": slots}).encode()


def percentile(values, p):
    if not values:
        return float("nan")
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(p / 100 * (len(ordered) - 1))))]


class Tally:
    def __init__(self):
        self.lock = threading.Lock()
        self.times = {}     # kind -> [seconds]
        self.statuses = {}  # (kind, status) -> count

    def add(self, kind, seconds, status):
        with self.lock:
            self.times.setdefault(kind, []).append(seconds)
            self.statuses[(kind, status)] = self.statuses.get((kind, status), 0) + 1


def timed(connection, method, path, body, headers):
    start = time.perf_counter()
    try:
        connection.request(method, path, body=body, headers=headers)
        answer = connection.getresponse()
        answer.read()
        return time.perf_counter() - start, answer.status
    except (OSError, http.client.HTTPException):
        connection.close()
        return time.perf_counter() - start, 0


def screens_worker(port, schedule, lock, stop_at, tally, token, picture):
    """Sends whatever is due next from the shared schedule, on one kept connection."""
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    headers = {"Authorization": "Bearer " + token}
    while time.monotonic() < stop_at:
        with lock:
            due, screen, kind, every = heapq.heappop(schedule)
            heapq.heappush(schedule, (due + every, screen, kind, every))
        wait = due - time.monotonic()
        if wait > 0:
            time.sleep(min(wait, max(0.0, stop_at - time.monotonic())))
        if time.monotonic() >= stop_at:
            break
        path = "/feed/screens/screen-%04d" % screen + ("/picture" if kind == "picture" else "")
        body = picture if kind == "picture" else status_document(screen)
        seconds, status = timed(connection, "PUT", path, body, headers)
        tally.add(kind, seconds, status)


def operator_worker(port, stop_at, tally, token, per_second):
    connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
    headers = {"Authorization": "Bearer " + token}
    while time.monotonic() < stop_at:
        for kind, path in (("page", "/screens"), ("page data", "/feed/screens/")):
            seconds, status = timed(connection, "GET", path, None, headers)
            tally.add(kind, seconds, status)
        time.sleep(1.0 / per_second)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("feed")
    parser.add_argument("--screens", type=int, default=1000)
    parser.add_argument("--seconds", type=float, default=120, help="how long the reports run (at most 600)")
    parser.add_argument("--compress", type=float, default=4.8, help="time compression (at most 5)")
    parser.add_argument("--workers", type=int, default=16)
    parser.add_argument("--page-loads", type=float, default=4, help="page and data loads a second")
    args = parser.parse_args()
    args.seconds = min(args.seconds, 600)
    args.compress = min(args.compress, 5.0)

    with temporary_folder("caltrix-fleet-measure-") as root:
        measure(args, root)
    return 0


def measure(args, root):
    report_every, picture_every = 60 / args.compress, 300 / args.compress
    feed = Feed(os.path.abspath(args.feed), root)
    try:
        time.sleep(1)
        before_kb = rss_kb(feed.process.pid)
        picture = b"\xff\xd8\xff\xe0" + random.Random(7).randbytes(60_000) + b"\xff\xd9"  # the size of a real one
        now = time.monotonic()
        rng = random.Random(11)
        schedule = []
        for screen in range(args.screens):
            # Reports spread over their interval; the first picture after the first report.
            first = now + rng.uniform(0, report_every)
            schedule.append((first, screen, "report", report_every))
            schedule.append((first + 0.5 + rng.uniform(0, picture_every), screen, "picture", picture_every))
        heapq.heapify(schedule)
        stop_at = now + args.seconds
        tally, lock = Tally(), threading.Lock()
        threads = [threading.Thread(target=screens_worker, daemon=True,
                                    args=(feed.port, schedule, lock, stop_at, tally, Feed.FLEET_TOKEN, picture))
                   for _ in range(args.workers)]
        threads.append(threading.Thread(target=operator_worker, daemon=True,
                                        args=(feed.port, stop_at, tally, Feed.OPERATOR_TOKEN, args.page_loads)))
        for thread in threads:
            thread.start()
        peak_kb = before_kb
        while time.monotonic() < stop_at:
            time.sleep(1)
            peak_kb = max(peak_kb, rss_kb(feed.process.pid))
        for thread in threads:
            thread.join(15)
        after_kb = rss_kb(feed.process.pid)
        known = len(feed.screens())

        print("caltrix-feed, %d simulated screens for %.0f s on 127.0.0.1 (time x%.1f: a report every %.1f s, "
              "a picture every %.1f s per screen)" % (args.screens, args.seconds, args.compress, report_every,
                                                      picture_every))
        for kind in ("page", "page data", "report", "picture"):
            values = [v * 1000 for v in tally.times.get(kind, [])]
            statuses = {s: n for (k, s), n in tally.statuses.items() if k == kind}
            print("  %-9s %6d answers  p50 %6.1f ms  p99 %6.1f ms  worst %6.1f ms  statuses %s"
                  % (kind, len(values), percentile(values, 50), percentile(values, 99),
                     max(values) if values else float("nan"), dict(sorted(statuses.items()))))
        print("  screens known: %d" % known)
        per_thousand = (after_kb - before_kb) / 1024 * 1000 / max(known, 1)
        print("  resident memory: %.1f MB before the screens, %.1f MB after (peak %.1f MB): %.1f MB per 1,000 screens"
              % (before_kb / 1024, after_kb / 1024, peak_kb / 1024, per_thousand))
    finally:
        feed.stop()


if __name__ == "__main__":
    sys.exit(main())
