#!/usr/bin/env python3
"""Measures caltrix-feed against hostile clients on 127.0.0.1.

Two runs, each against a fresh `caltrix-feed --demo`:
  never-reads  one client pipelines 12 MB of page requests on a socket with a
               4 KB receive buffer and never reads; reports how much the
               server grew and how long other clients waited meanwhile.
  slow-heads   under a descriptor limit of 256, 1,000 clients each send half a
               head and then one more byte every second; reports the server's
               CPU and how long (and whether) other clients were answered.

Targets: memory within about 1 MB for the non-reader, others answered within
10 ms, under 5 % of a core for the slow heads.

    scripts/measure_feed_hostile.py [--feed build/bin/caltrix-feed] [--seconds 10]
"""
import argparse
import os
import resource
import socket
import statistics
import subprocess
import sys
import threading
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

from harness import Failure, cpu_seconds, free_port, rss_kb, wait_for  # noqa: E402

PROBE = b"GET /feed/status HTTP/1.1\r\nHost: x\r\n\r\n"


def start_feed(program, port, descriptor_limit=None):
    def limit():
        if descriptor_limit:
            resource.setrlimit(resource.RLIMIT_NOFILE, (descriptor_limit, descriptor_limit))

    process = subprocess.Popen([program, "--demo", "--listen", f"127.0.0.1:{port}"], preexec_fn=limit,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        wait_for(lambda: probe_once(port) is not None, 5, "caltrix-feed")
    except Failure:
        process.kill()
        raise SystemExit("caltrix-feed did not start")
    return process


def probe_once(port, timeout=2.0):
    """Seconds until a whole status answer; None when refused or not answered."""
    began = time.monotonic()
    try:
        with socket.create_connection(("127.0.0.1", port), timeout=timeout) as client:
            client.sendall(PROBE)
            answer = b""
            while b"\r\n\r\n" not in answer:
                chunk = client.recv(4096)
                if not chunk:
                    return None
                answer += chunk
            return time.monotonic() - began if answer.startswith(b"HTTP/1.1 200") else None
    except OSError:
        return None


def probes_during(port, seconds, stop):
    times, failures = [], 0
    end = time.monotonic() + seconds
    while time.monotonic() < end and not stop.is_set():
        taken = probe_once(port)
        if taken is None:
            failures += 1
        else:
            times.append(taken)
        time.sleep(0.1)
    return times, failures


def summary(times, failures):
    if not times:
        return f"no answer ({failures} failed)"
    ordered = sorted(times)
    p99 = ordered[min(len(ordered) - 1, int(len(ordered) * 0.99))]
    return (f"{len(times)} answered, {failures} failed; p50 {statistics.median(ordered) * 1000:.1f} ms, "
            f"p99 {p99 * 1000:.1f} ms, worst {ordered[-1] * 1000:.1f} ms")


def never_reads(program, seconds):
    port = free_port()
    feed = start_feed(program, port)
    try:
        before = rss_kb(feed.pid)
        greedy = socket.socket()
        greedy.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
        greedy.connect(("127.0.0.1", port))
        greedy.setblocking(False)
        requests = b"GET /default.dll?page=soccer HTTP/1.1\r\nHost: x\r\n\r\n" * (12 * 1024 * 1024 // 52)
        sent = [0]
        stop = threading.Event()

        def push():
            while not stop.is_set() and sent[0] < len(requests):
                try:
                    sent[0] += greedy.send(requests[sent[0]:sent[0] + 65536])
                except BlockingIOError:
                    time.sleep(0.01)
                except OSError:
                    break

        pusher = threading.Thread(target=push)
        pusher.start()
        times, failures = probes_during(port, seconds, stop)
        stop.set()
        pusher.join()
        grown = rss_kb(feed.pid) - before
        greedy.close()
        print(f"never-reads: sent {sent[0] / 1e6:.1f} of {len(requests) / 1e6:.1f} MB in {seconds} s; "
              f"server grew {grown / 1024:.1f} MB; others: {summary(times, failures)}")
    finally:
        feed.kill()
        feed.wait()


def slow_heads(program, seconds, count=1000):
    port = free_port()
    feed = start_feed(program, port, descriptor_limit=256)
    slow = []
    try:
        for _ in range(count):
            try:
                client = socket.socket()
                client.setblocking(False)
                client.connect_ex(("127.0.0.1", port))
                slow.append(client)
            except OSError:
                break
        time.sleep(0.2)
        for client in slow:
            try:
                client.send(b"GET /feed/status HTTP/1.1\r\nX-")
            except OSError:
                pass
        stop = threading.Event()

        def drip():
            while not stop.wait(1.0):
                for client in slow:
                    try:
                        client.send(b"x")
                    except OSError:
                        pass

        dripper = threading.Thread(target=drip)
        dripper.start()
        cpu_before, began = cpu_seconds(feed.pid), time.monotonic()
        times, failures = probes_during(port, seconds, stop)
        share = (cpu_seconds(feed.pid) - cpu_before) / (time.monotonic() - began)
        stop.set()
        dripper.join()
        print(f"slow-heads: {len(slow)} slow clients, descriptor limit 256; server CPU {share * 100:.1f} % of a core; "
              f"others: {summary(times, failures)}")
    finally:
        for client in slow:
            client.close()
        feed.kill()
        feed.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--feed", default="build/bin/caltrix-feed")
    parser.add_argument("--seconds", type=int, default=10)
    arguments = parser.parse_args()
    resource.setrlimit(resource.RLIMIT_NOFILE, (4096, resource.getrlimit(resource.RLIMIT_NOFILE)[1]))
    never_reads(arguments.feed, arguments.seconds)
    slow_heads(arguments.feed, arguments.seconds)


if __name__ == "__main__":
    main()
