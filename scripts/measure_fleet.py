#!/usr/bin/env python3
"""Measures how soon a fleet follows its feed server: caltrix-feed on a local
JSON file whose scores change at random moments, N simulated screens (each
holds one event stream and fetches the versioned page on each event: the
program caltrix-fleet-screens beside CALTRIX_FEED, which runs them all in one
thread, so that they take little of the processors the server needs) and one
real Caltrix under Xvfb. Three ways: direct to
caltrix-feed, through nginx in front, through nginx with its pub/sub module
(data/nginx/). Reports, from the feed's poll that took each goal (the event's
"time"): p50, p99 and the worst for the simulated screens' events and pages,
the real screen's poll-to-panel time in a one-match and an eight-match slot,
and the feed server's memory and CPU per 1,000 screens.

Usage: measure_fleet.py CALTRIX CALTRIX_FEED [--way direct|nginx|nchan] [--screens 2000] [--goals 5]
                        [--screens-program PATH]
Load goes to 127.0.0.1 only; the run ends after its goals.
"""
import argparse
import json
import os
import random
import resource
import shutil
import statistics
import subprocess
import sys
import time

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

import fleet  # noqa: E402
from harness import (Failure, cpu_seconds, free_port, rss_kb, running, start_xvfb, stop_process,  # noqa: E402
                     temporary_folder, wait_for)
from every_slot_filled import slots  # noqa: E402
from measure_latency import EIGHT, ONE, Matches, shown  # noqa: E402


def read_screens(path):
    """Each simulated screen's (events, pages, made, connections), versions as numbers."""
    def by_version(times):
        return {int(version): at for version, at in times.items()}
    with open(path) as lines:
        return [(by_version(screen["events"]), by_version(screen["pages"]), by_version(screen["made"]),
                 screen["connections"]) for screen in map(json.loads, lines)]


def on_panel(status_path, home, away, score):
    """Whether the match shows this score on its panel: in the panel's markup
    (which a running match's flash blanks every other second) or as the goal
    the slot holds on its panel."""
    teams = f"{home}-{away}".upper()
    for slot in slots(status_path):
        goal = slot.get("goal") or {}
        if teams in goal.get("line", "") and score in goal.get("line", "").replace(" ", ""):
            return True
    return shown(status_path, home, away, score)


def titles_shown(status_path):
    titles = {slot["panel"]["title"] for slot in slots(status_path)}
    return {"TESTLAND-CUP ONE", "TESTLAND-LEAGUE EIGHT"} <= titles


def summary(name, values):
    if not values:
        return "%s: none" % name
    return "%s: p50 %.3f s, p99 %.3f s, worst %.3f s (%d)" % (
        name, fleet.percentile(values, 0.5), fleet.percentile(values, 0.99), max(values), len(values))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("caltrix")
    parser.add_argument("feed")
    parser.add_argument("--way", choices=("direct", "nginx", "nchan"), default="direct")
    parser.add_argument("--screens", type=int, default=2000)
    parser.add_argument("--screens-program")
    parser.add_argument("--goals", type=int, default=5)
    args = parser.parse_args()

    # Each simulated screen holds a stream and a page connection: 10,000
    # screens need more files than a login's usual hard limit, which root may raise.
    _, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    try:
        resource.setrlimit(resource.RLIMIT_NOFILE, (max(hard, 65536), max(hard, 65536)))
    except (ValueError, OSError):
        resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))
    with temporary_folder("caltrix-fleet-") as work:
        measure(args, work)


def measure(args, work):
    matches = Matches(os.path.join(work, "matches.json"))
    matches.write()
    config = os.path.join(work, "config")
    os.makedirs(config)
    with open(os.path.join(config, "config.txt"), "wb") as out:
        out.write(b"01=CUPONE;\r\n02=LEAGUEEIGHT;\r\n12=Fleet measurement\r\n")
    started = []
    processes = []
    try:
        feed_port = free_port()
        feed_command = [args.feed, "--feed", "json", "--feed-url", matches.path, "--local-config", config,
                        "--listen", "127.0.0.1:%d" % feed_port]
        front = None
        if args.way == "nchan":
            front = fleet.Nginx("caltrix-nchan.conf", "127.0.0.1:%d" % feed_port, workers=2)
            started.append(front)
            feed_command += ["--publish", "http://%s/publish" % front.base]
        feed = subprocess.Popen(feed_command, stdout=subprocess.DEVNULL, stderr=open(os.path.join(work, "feed.log"), "w"))
        processes.append(feed)
        fleet.wait_for_port(feed_port, feed)
        if args.way == "nginx":
            front = fleet.Nginx("caltrix-proxy.conf", "127.0.0.1:%d" % feed_port, workers=2)
            started.append(front)
        site = front.base if front else "127.0.0.1:%d" % feed_port
        host, port = site.split(":")

        xvfb, display = start_xvfb()
        processes.append(xvfb)
        status = os.path.join(work, "status.json")
        screen_command = [args.caltrix, "--program-folder", os.path.join(work, "program"), "--score-site", site,
                          "--config-endpoint", site, "--status-file", status]
        if args.way == "nchan":
            screen_command += ["--events", "http://%s/feed/events" % site]
        environment = dict(os.environ, QTWEBENGINE_DISABLE_SANDBOX="1", DISPLAY=display,
                           QT_LOGGING_RULES="caltrix.*.info=true")
        environment.pop("QT_QPA_PLATFORM", None)
        screen = subprocess.Popen(screen_command, env=environment, stdout=subprocess.DEVNULL,
                                  stderr=open(os.path.join(work, "screen.log"), "w"))
        processes.append(screen)

        baseline_rss = rss_kb(feed.pid)
        seconds = 60 + args.goals * 55
        screens_program = args.screens_program or os.path.join(os.path.dirname(args.feed), "caltrix-fleet-screens")
        # A thousand screens a process, each process from a local address of
        # its own: libcurl's cost of ending a transfer grows with the
        # connections its process holds, and the kernel's of finding a free
        # port with the connections from one address.
        groups = -(-args.screens // 1000)
        simulated = []
        for group in range(groups):
            count = args.screens // groups + (1 if group < args.screens % groups else 0)
            simulated.append(subprocess.Popen([
                screens_program, "--stream", "http://%s/feed/events" % site, "--site", "http://" + site, "--screens",
                str(count), "--seconds", str(seconds), "--stagger", str(min(10.0, args.screens / 500)), "--out",
                os.path.join(work, "screens-%d.json" % group), "--source", "127.0.0.%d" % (2 + group)]))
        processes.extend(simulated)

        try:
            wait_for(lambda: titles_shown(status), 120, "both competitions", interval=0.5, alive=running(screen))
        except Failure:
            with open(os.path.join(work, "screen.log"), errors="replace") as log:
                tail = log.read()[-1500:]
            shutil.copy(status, "/tmp/caltrix-fleet-status.json")
            sys.exit("the real screen did not show both competitions; its log ends:\n" + tail)
        time.sleep(10)  # every simulated screen holds its stream
        cpu_start, clock_start = cpu_seconds(feed.pid), time.time()
        goals = []  # (time written, {competition: time shown}, competitions not shown)
        panel = {ONE[0]: [], EIGHT[0]: []}
        for _ in range(args.goals):
            time.sleep(random.uniform(20, 40))
            scored = matches.goal_in_each()
            written = time.time()
            seen = matches.times_shown(scored, lambda *goal: on_panel(status, *goal), 60, 0.05)
            goals.append((written, seen, set(scored) - set(seen)))
        cpu = (cpu_seconds(feed.pid) - cpu_start) / (time.time() - clock_start)
        rss = rss_kb(feed.pid)

        collected = []
        for group, program in enumerate(simulated):
            if program.wait(seconds + 120) != 0:
                sys.exit("caltrix-fleet-screens ended with code %d" % program.returncode)
            collected.extend(read_screens(os.path.join(work, "screens-%d.json" % group)))

        # The version each goal came in: the first made after the file was written.
        made_all = {}
        for _, _, made, _ in collected:
            made_all.update(made)
        events, pages, missing = [], [], 0
        polls = []  # from writing the goal to the feed's version with it
        for written, seen, waiting in goals:
            after = sorted(v for v, m in made_all.items() if m >= written - 0.05)
            if not after:
                print("a goal brought no event", file=sys.stderr)
                continue
            version = after[0]
            polls.append(made_all[version] - written)
            for name, at in seen.items():
                panel[name].append(at - made_all[version])
            for name in waiting:
                panel[name].append(float("inf"))
            for got, fetched, made, _ in collected:
                if version in got and version in fetched:
                    events.append(got[version] - made_all[version])
                    pages.append(fetched[version] - made_all[version])
                else:
                    missing += 1
        print("way %s, %d simulated screens, %d goals (command: %s)" % (
            args.way, len(collected), len(goals), " ".join(sys.argv)))
        print(summary("the feed's poll after the goal was written", polls))
        print(summary("event from the poll", events))
        print(summary("page from the poll", pages))
        print("screen-goals missed: %d; reconnections: %d" % (
            missing, sum(c for *_, c in collected) - len(collected)))
        for name, matches_in_slot in (ONE, EIGHT):
            values = panel[name]
            print("real screen, slot with %d match(es): median %.1f s, worst %.1f s (%s)" % (
                len(matches_in_slot), statistics.median(values), max(values), ", ".join("%.1f" % v for v in values)))
        thousands = max(len(collected), 1) / 1000
        print("caltrix-feed: %.1f %% of a core, RSS %.1f MB (%.1f MB before the screens); per 1,000 screens "
              "%.2f %% of a core and %.1f MB" % (cpu * 100, rss / 1024, baseline_rss / 1024, cpu * 100 / thousands,
                                                (rss - baseline_rss) / 1024 / thousands))
    finally:
        for process in reversed(processes):
            stop_process(process)
        for server in reversed(started):
            server.stop()


if __name__ == "__main__":
    main()
