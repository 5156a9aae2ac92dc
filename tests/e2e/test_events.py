#!/usr/bin/python3
"""End-to-end: the real program follows a feed server's event stream.

Against a stand-in feed server: each new version reaches the slot files
within seconds on the versioned page, far sooner than the 33 s cycle; a feed
server killed and started again (counting anew) leaves the results on screen,
and the screen follows it again; the status file tells the stream's state
and last event. Against a plain site (the fault server, which has no stream):
the cycle keeps its cadence and the stream is asked for at most every 10
minutes (scaled)."""

import argparse
import os
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import event_feed_stand_in  # noqa: E402
import fault_server  # noqa: E402
import harness  # noqa: E402
from harness import Failure, wait_for  # noqa: E402


def shown(program):
    return fault_server.shown_serial(program.slot_file(1))


def stream_state(program):
    status = program.status() or {}
    return (status.get("events") or {}).get("state")


def follows_the_feed(caltrix):
    feed = event_feed_stand_in.EventFeed()
    program = harness.Program(caltrix, harness.endpoint_options(feed.base), 1.0)
    try:
        alive = program.check_alive
        wait_for(lambda: shown(program) == 1 and stream_state(program) == "connected", 90, "first results", alive=alive)
        time.sleep(2)  # the cycle that the stream's first event asks for
        for _ in range(3):
            version = feed.bump()
            bumped = time.time()
            wait_for(lambda: shown(program) == version, 15, "version %d on the slot" % version, alive=alive)
            print("version %d in the slot file after %.1f s" % (version, time.time() - bumped))
            wait_for(lambda: feed.requests("/default.dll?page=soccer&v=%d" % version), 5,
                     "the versioned address of version %d" % version, alive=alive)
        status = program.status()
        if status["events"]["lastEvent"]["page"] != version or harness.schema_problems(status):
            raise Failure("status file: %s %s" % (status["events"], harness.schema_problems(status)))

        # Killed and started again, counting anew: results stay, the screen follows again.
        feed.stop()
        wait_for(lambda: stream_state(program) == "dropped", 10, "the drop in the status file", alive=alive)
        time.sleep(2)
        if shown(program) != version:
            raise Failure("the results went while the feed server was down")
        feed.restart()
        restarted = time.time()
        wait_for(lambda: shown(program) == 1, 20, "the restarted feed's page", alive=alive)
        print("restarted feed followed after %.1f s" % (time.time() - restarted))
        asked = feed.requests("/feed/events", since=restarted - 5)
        if not asked or asked[-1][2] is None:
            raise Failure("the reopened stream did not name the last event it saw")
    finally:
        program.stop()
        feed.stop()


def keeps_the_cadence_on_a_plain_site(caltrix):
    server = fault_server.FaultServer()
    scale = 0.01  # 10 minutes are 6 s, a cycle 0.33 s
    program = harness.Program(caltrix, harness.endpoint_options(server.base), scale)
    try:
        program.find_pid()
        started = time.time()
        wait_for(lambda: stream_state(program) == "refused", 60, "the refusal in the status file",
                 alive=program.check_alive)
        time.sleep(13)
        seconds = time.time() - started
        asked = [r for r in server.requests("other") if r["mode"] == "/feed/events"]
        pages = server.requests("page", since=started)
        print("plain site over %.0f s: %d page requests, the stream asked for %d times" %
              (seconds, len(pages), len(asked)))
        if not 1 <= len(asked) <= 1 + seconds / (600 * scale):
            raise Failure("the stream was asked for %d times in %.0f s" % (len(asked), seconds))
        if len(pages) < seconds / (33 * scale) / 3:
            raise Failure("the cycle lost its cadence: %d pages in %.0f s" % (len(pages), seconds))
    finally:
        program.stop()
        server.close()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--caltrix", required=True)
    args = parser.parse_args()
    failed = 0
    for check in (follows_the_feed, keeps_the_cadence_on_a_plain_site):
        try:
            check(args.caltrix)
            print("ok", check.__name__)
        except Failure as failure:
            failed += 1
            print("FAIL", check.__name__, failure)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
