#!/usr/bin/env python3
"""Measures how soon a goal reaches its panel: starts Caltrix under Xvfb with
--feed json on a local file holding two competitions, one with one running
match and one with eight, then raises a score in each at random moments and
times, from the file's change, until the slot's panel shows the new score
(read from the status file). Reports the median and the worst over the goals.
Each change comes at a random moment after the previous goal's hold (20 s)
has ended: a goal that waits its turn behind another one of its slot is held
by design, not late.

Usage: measure_latency.py CALTRIX [--goals 5] [--feed-interval S] [--display :N (default: a free one)]
"""
import argparse
import datetime
import json
import os
import random
import re
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from every_slot_filled import slots  # noqa: E402
from harness import running, start_xvfb, stop_process, temporary_folder, wait_or_exit  # noqa: E402

ONE = ("Cup One", [("Alpha", "Beta")])
EIGHT = ("League Eight", [(f"Home{n}", f"Away{n}") for n in range(1, 9)])


class Matches:
    def __init__(self, path):
        self.path = path
        kickoff = (datetime.datetime.now(datetime.timezone.utc) - datetime.timedelta(minutes=50))
        self.kickoff = kickoff.strftime("%Y-%m-%dT%H:%M:00Z")
        self.scores = {sides: [0, 0] for _, matches in (ONE, EIGHT) for sides in matches}

    def write(self):
        competitions = []
        for name, matches in (ONE, EIGHT):
            competitions.append({"area": "Testland", "name": name, "matches": [
                {"kickoff": self.kickoff, "state": "second-half", "minute": 50, "home": home, "away": away,
                 "score": {"home": self.scores[(home, away)][0], "away": self.scores[(home, away)][1]}}
                for home, away in matches]})
        temporary = self.path + ".new"
        with open(temporary, "w") as out:
            json.dump({"competitions": competitions}, out)
        os.replace(temporary, self.path)

    def goal_in_each(self):
        """Raises the home side's score of the one match and of one of the
        eight, and writes the file; returns {competition: (home, away)}."""
        goals = {ONE[0]: ONE[1][0], EIGHT[0]: random.choice(EIGHT[1])}
        for sides in goals.values():
            self.scores[sides][0] += 1
        self.write()
        return goals

    def times_shown(self, goals, is_shown, timeout, interval):
        """When (time.time()) each of `goals` was shown, by is_shown(home, away,
        score), of those shown within `timeout` seconds."""
        seen, waiting, began = {}, dict(goals), time.time()
        while waiting and time.time() - began < timeout:
            for name, (home, away) in list(waiting.items()):
                if is_shown(home, away, "{}-{}".format(*self.scores[(home, away)])):
                    seen[name] = time.time()
                    del waiting[name]
            time.sleep(interval)
        return seen


def shown(status_path, home, away, score):
    """Whether a slot's panel shows the match with this score."""
    teams = f"{home}-{away}".upper()
    for slot in slots(status_path):
        panel = slot["panel"]
        if teams in panel["text"].replace("\r\n", "") and score in panel["markup"]:
            return True
    return False


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("caltrix")
    parser.add_argument("--goals", type=int, default=5)
    parser.add_argument("--feed-interval", type=int)
    parser.add_argument("--display", help="Xvfb's display (default: a free one)")
    parser.add_argument("--timeout", type=float, default=240)
    args = parser.parse_args()

    with temporary_folder("caltrix-latency-") as work:
        measure(args, work)


def measure(args, work):
    status = os.path.join(work, "status.json")
    matches = Matches(os.path.join(work, "matches.json"))
    matches.write()
    xvfb, display = start_xvfb(display=args.display)
    environment = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", DISPLAY=display)
    command = [args.caltrix, "--feed", "json", "--feed-url", matches.path, "--program-folder",
               os.path.join(work, "program"), "--status-file", status]
    if args.feed_interval:
        command += ["--feed-interval", str(args.feed_interval)]
    log = open(os.path.join(work, "log"), "w")
    program = subprocess.Popen(command, env=environment, stdout=subprocess.DEVNULL, stderr=log)
    latencies = {ONE[0]: [], EIGHT[0]: []}
    try:
        wait_or_exit(lambda: shown(status, "Alpha", "Beta", "0-0") and shown(status, "Home1", "Away1", "0-0"), 240,
                     "the display did not show both competitions", interval=0.5, alive=running(program))
        for _ in range(args.goals):
            time.sleep(random.uniform(20, 45))
            goals = matches.goal_in_each()
            changed = time.time()
            seen = matches.times_shown(goals, lambda *goal: shown(status, *goal), args.timeout, 0.1)
            for name in goals:
                if name not in seen:
                    print(f"{name}: goal not shown within {args.timeout:.0f} s", file=sys.stderr)
                latencies[name].append(seen[name] - changed if name in seen else float("inf"))
        interval = f"--feed-interval {args.feed_interval}" if args.feed_interval else "default intervals"
        for name, matches_in_slot in (ONE, EIGHT):
            values = latencies[name]
            print(f"{interval}, slot with {len(matches_in_slot)} match(es), {len(values)} goals: "
                  f"median {statistics.median(values):.1f} s, worst {max(values):.1f} s "
                  f"({', '.join(f'{v:.1f}' for v in values)})")
        with open(os.path.join(work, "log")) as lines:
            cycles = [int(ms) for ms in re.findall(r"cycle \d+ done in (\d+) ms", lines.read())]
        if cycles:
            print(f"{len(cycles)} update cycles, median {statistics.median(cycles)} ms, longest {max(cycles)} ms")
    finally:
        stop_process(program)
        stop_process(xvfb)


if __name__ == "__main__":
    main()
