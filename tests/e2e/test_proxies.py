#!/usr/bin/python3
"""The README's nginx recipes, each tried: caltrix-feed on a JSON source with
simulated screens direct, through nginx in front (the stream passed through,
each version fetched from caltrix-feed once however many screens ask), through
nginx with its pub/sub module, and through two such nginx sharing their
channel through one Redis. Every server runs on 127.0.0.1 from its own
configuration in a temporary folder and is stopped after. Takes seconds."""

import argparse
import asyncio
import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts"))

import fleet  # noqa: E402
import harness  # noqa: E402
from measure_latency import Matches, ONE  # noqa: E402


class Feed:
    """caltrix-feed on a JSON file polled every second, and a configuration."""

    def __init__(self, program, work, publish=None, port=None):
        self.matches = Matches(os.path.join(work, "matches.json"))
        self.matches.write()
        config = os.path.join(work, "config")
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "config.txt"), "wb") as out:
            out.write(b"01=CUPONE;\r\n02=LEAGUEEIGHT;\r\n")
        self.port = port or harness.free_port()
        command = [program, "--feed", "json", "--feed-url", self.matches.path, "--feed-interval", "1",
                   "--local-config", config, "--listen", "127.0.0.1:%d" % self.port]
        if publish:
            command += ["--publish", publish]
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        fleet.wait_for_port(self.port, self.process)

    @property
    def base(self):
        return "127.0.0.1:%d" % self.port

    def goal(self):
        self.matches.scores[ONE[1][0]][0] += 1
        self.matches.write()

    def stop(self):
        harness.stop_process(self.process)


def screens(count, stream, site):
    host, port = stream.split(":")
    site_host, site_port = site.split(":")
    return [fleet.Screen((host, int(port), "/feed/events"), (site_host, int(site_port))) for _ in range(count)]


def follow_one_goal(feed, group, seconds=8):
    """Runs the screens and scores once while they hold their streams: the
    version that brought the goal, which every screen must have had the event
    and the page of, and the worst delays from the feed's poll."""
    scored = []

    async def scenario():
        task = asyncio.ensure_future(fleet.run_screens(group, seconds, stagger=0.5))
        await asyncio.sleep(2.5)
        scored.append(time.time())
        feed.goal()
        await task
    asyncio.run(scenario())
    after = [version for version, made in group[0].made.items() if made >= scored[0] - 0.01]
    if not after or any(after[0] not in screen.pages for screen in group):
        raise AssertionError("the screens did not follow the goal: %s" % [sorted(s.pages) for s in group[:3]])
    version = after[0]
    event = max(screen.events[version] - screen.made[version] for screen in group)
    page = max(screen.pages[version] - screen.made[version] for screen in group)
    return version, event, page


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--feed", required=True, help="the caltrix-feed program")
    args = parser.parse_args()
    with harness.temporary_folder("caltrix-proxies-") as work:
        try_recipes(args, work)
    return 0


def try_recipes(args, work):
    started = []
    try:
        feed = Feed(args.feed, work)
        started.append(feed)
        print("direct: version %d, worst event %.2f s, worst page %.2f s" %
              follow_one_goal(feed, screens(5, feed.base, feed.base)))

        proxy = fleet.Nginx("caltrix-proxy.conf", feed.base)
        started.append(proxy)
        group = screens(20, proxy.base, proxy.base)
        version, event, page = follow_one_goal(feed, group)
        print("nginx in front: version %d, worst event %.2f s, worst page %.2f s" % (version, event, page))
        misses = sum(screen.cache.get(version, False) for screen in group)
        if misses != 1:
            raise AssertionError("version %d was fetched from caltrix-feed %d times for 20 screens" % (version, misses))

        # The pub/sub recipe: caltrix-feed publishes to the first nginx, and
        # the second gets the events through Redis.
        feed.stop()
        started.remove(feed)
        feed_port = harness.free_port()
        redis = fleet.Redis()
        started.append(redis)
        nchan = [fleet.Nginx("caltrix-nchan.conf", "127.0.0.1:%d" % feed_port, redis.port) for _ in range(2)]
        started.extend(nchan)
        feed = Feed(args.feed, work, publish="http://%s/publish" % nchan[0].base, port=feed_port)
        started.append(feed)
        for name, front in (("nginx with nchan", nchan[0]), ("second nginx through Redis", nchan[1])):
            print("%s: version %d, worst event %.2f s, worst page %.2f s" %
                  ((name,) + follow_one_goal(feed, screens(20, front.base, front.base))))
    finally:
        for server in reversed(started):
            server.stop()


if __name__ == "__main__":
    sys.exit(main())
