#!/usr/bin/python3
"""End-to-end run of a fleet with Prometheus: caltrix-feed (demo), one real
screen reporting to it, and Debian's Prometheus scraping the feed with the
shipped configuration and rules (intervals and the silence threshold
shortened). Checks the screen's report and picture, a real scrape with
promtool check metrics, and that CaltrixScreenSilent fires for the screen
once it is stopped."""

import argparse
import os
import shutil
import subprocess
import sys
import time

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from monitoring import Feed, Prometheus, request  # noqa: E402
from harness import Failure, wait_for  # noqa: E402

SCREEN = "e2e-screen"
SILENT_AFTER = 6  # seconds, instead of 180


def shorter_silence(rules):
    shipped = "time() - caltrix_screen_last_report_timestamp_seconds > 180"
    if shipped not in rules:
        raise Failure("the silence rule reads otherwise than expected")
    return rules.replace(shipped, shipped.replace("180", str(SILENT_AFTER)), 1)


def run(args, root):
    feed = Feed(args.feed, root)
    screen = prometheus = None
    try:
        screen = harness.Program(args.caltrix, [
            "--score-site", feed.base, "--config-endpoint", feed.base, "--screen-name", SCREEN,
            "--fleet-token-file", feed.fleet_token_file, "--report-picture", "300"], time_scale=0.2)
        listed = wait_for(lambda: [s for s in feed.screens() if s["name"] == SCREEN and s["picture"]], 90,
                          "the screen's report and picture on the feed", interval=0.5, alive=screen.check_alive)
        print("screen listed:", listed[0]["state"], "slots:", len(listed[0]["slots"]))
        status, picture = feed.operator("/feed/screens/%s/picture" % SCREEN)
        if status != 200 or not picture.startswith(b"\xff\xd8") or len(picture) > 150000:
            raise Failure("picture: HTTP %d, %d bytes" % (status, len(picture)))

        status, metrics = feed.operator("/metrics")
        check = subprocess.run(["promtool", "check", "metrics"], input=metrics, capture_output=True)
        if status != 200 or check.returncode != 0:
            raise Failure("promtool check metrics: %s %s" % (check.stdout, check.stderr))
        if request(feed.base + "/metrics")[0] != 401:
            raise Failure("/metrics answered without the operator's token")

        prometheus = Prometheus(root, feed, rules_edit=shorter_silence)
        query = 'caltrix_screen_last_report_timestamp_seconds{screen="%s"}' % SCREEN
        wait_for(lambda: (prometheus.api("query?query=" + query) or {}).get("result"), 30,
                 "Prometheus scraping the screen's report", interval=0.5)
        if prometheus.firing("CaltrixScreenSilent"):
            raise Failure("CaltrixScreenSilent fires while the screen reports")

        screen.stop()
        stopped = time.time()
        screen = None
        labels = wait_for(lambda: prometheus.firing("CaltrixScreenSilent"), 60, "CaltrixScreenSilent firing",
                          interval=0.5)
        if labels[0].get("screen") != SCREEN:
            raise Failure("the alert names %s" % labels)
        print("CaltrixScreenSilent fired %.1f s after the screen stopped (%d s after its last report)"
              % (time.time() - stopped, SILENT_AFTER))
    finally:
        if screen:
            screen.stop()
        if prometheus:
            prometheus.stop()
        feed.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--caltrix", required=True)
    parser.add_argument("--feed", required=True)
    parser.add_argument("--keep", action="store_true")
    args = parser.parse_args()
    if not shutil.which("prometheus") or not shutil.which("promtool"):
        print("Prometheus is not installed (scripts/setup.sh installs it)")
        return 1
    return harness.run_in_folder("caltrix-fleet-e2e-", args.keep, lambda root: run(args, root),
                                 "fleet end-to-end: passed", logs=("caltrix-feed.log", "prometheus.log"))


if __name__ == "__main__":
    sys.exit(main())
