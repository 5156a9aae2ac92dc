"""What the fleet checks and measurements share: nginx and Redis started on
127.0.0.1 as plain processes with their own configuration in a temporary
prefix, and simulated screens, each an asynchronous client that holds one
event stream and fetches the versioned page on each event, as a screen does."""

import asyncio
import json
import os
import shutil
import socket
import subprocess
import tempfile
import time

from harness import free_port, running, stop_process, wait_for

NGINX_CONFIGS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "nginx")
NCHAN_MODULE = "/usr/lib/nginx/modules/ngx_nchan_module.so"


def wait_for_port(port, process, timeout=10):
    def listening():
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.2):
                return True
        except OSError:
            return False
    wait_for(listening, timeout, "something to listen on port %d" % port, alive=running(process, "the server"))


class Nginx:
    """nginx on a recipe of data/nginx (caltrix-proxy.conf, caltrix-nchan.conf)
    in front of `feed` ("127.0.0.1:PORT"), optionally sharing its channels
    through Redis at `redis_port`."""

    def __init__(self, recipe, feed, redis_port=None, workers=1):
        self.port = free_port()
        self.prefix = tempfile.mkdtemp(prefix="caltrix-nginx-")
        with open(os.path.join(NGINX_CONFIGS, recipe)) as template:
            text = template.read()
        text = text.replace("@PREFIX@", self.prefix).replace("@FEED@", feed).replace(
            "@LISTEN@", "127.0.0.1:%d" % self.port).replace("worker_processes auto;", "worker_processes %d;" % workers)
        if redis_port:
            text = text.replace("# @REDIS@", "nchan_redis_url redis://127.0.0.1:%d; nchan_use_redis on;" % redis_port)
        # Its own files in the prefix; as root the workers keep root's rights
        # on the prefix instead of becoming nobody.
        own = "".join("    %s_temp_path %s/%s;\n" % (kind, self.prefix, kind)
                      for kind in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        text = text.replace("http {\n", "http {\n" + own, 1)
        main = "pid %s/nginx.pid;\nerror_log %s/error.log warn;\n" % (self.prefix, self.prefix)
        if os.geteuid() == 0:
            main += "user root;\n"
        self.config = os.path.join(self.prefix, "nginx.conf")
        with open(self.config, "w") as out:
            out.write(main + text)
        self.process = subprocess.Popen(["nginx", "-p", self.prefix, "-c", self.config, "-g", "daemon off;"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        wait_for_port(self.port, self.process)

    @property
    def base(self):
        return "127.0.0.1:%d" % self.port

    def error_log(self):
        try:
            with open(os.path.join(self.prefix, "error.log")) as log:
                return log.read()
        except OSError:
            return ""

    def stop(self):
        stop_process(self.process)
        shutil.rmtree(self.prefix, ignore_errors=True)


class Redis:
    def __init__(self):
        self.port = free_port()
        self.folder = tempfile.mkdtemp(prefix="caltrix-redis-")
        self.process = subprocess.Popen(
            ["redis-server", "--port", str(self.port), "--bind", "127.0.0.1", "--save", "", "--appendonly", "no",
             "--dir", self.folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for_port(self.port, self.process)

    def stop(self):
        stop_process(self.process)
        shutil.rmtree(self.folder, ignore_errors=True)


async def _pieces(reader):
    while True:
        piece = await reader.read(65536)
        if not piece:
            return
        yield piece


async def _chunks(reader):
    """The body of a chunked answer, chunk by chunk."""
    while True:
        size = int((await reader.readline()).split(b";")[0].strip() or b"0", 16)
        if size == 0:
            return
        yield await reader.readexactly(size)
        await reader.readline()


def parse_time(text):
    """Seconds since the epoch of an event's "time" (UTC, milliseconds, "Z")."""
    import datetime
    return datetime.datetime.strptime(text, "%Y-%m-%dT%H:%M:%S.%fZ").replace(
        tzinfo=datetime.timezone.utc).timestamp()


class Screen:
    """One simulated screen: its stream, and for each version the time the
    event came and the time its page had arrived."""

    def __init__(self, stream, site, fetch=True):
        self.stream = stream  # (host, port, path)
        self.site = site      # (host, port)
        self.fetch = fetch
        self.events = {}      # version -> seconds since the epoch the event came
        self.pages = {}       # version -> ... the page had arrived
        self.made = {}        # version -> when the feed made it (the event's "time")
        self.cache = {}       # version -> whether a cache in front fetched the page from the feed for it
        self.connections = 0
        self.fetches = []     # the page fetches started
        self.error = None
        self.last_id = None

    async def run(self, until):
        """Holds the stream until `until` (time.time()), reopening it after a drop."""
        while time.time() < until:
            try:
                await asyncio.wait_for(self._follow(), max(until - time.time(), 0.1))
            except asyncio.TimeoutError:
                return
            except (OSError, asyncio.IncompleteReadError, ValueError) as error:
                self.error = repr(error)
                await asyncio.sleep(0.5)

    async def _follow(self):
        host, port, path = self.stream
        reader, writer = await asyncio.open_connection(host, port)
        try:
            head = "GET %s HTTP/1.1\r\nHost: %s:%d\r\nAccept: text/event-stream\r\n" % (path, host, port)
            if self.last_id:
                head += "Last-Event-ID: %s\r\n" % self.last_id
            writer.write((head + "\r\n").encode())
            status = await reader.readline()
            if b" 200 " not in status:
                raise ValueError("stream answered %r" % status)
            chunked = False
            while True:
                header = (await reader.readline()).strip().lower()
                if not header:
                    break
                chunked = chunked or header == b"transfer-encoding: chunked"
            self.connections += 1
            await self._read_events(_chunks(reader) if chunked else _pieces(reader))
        finally:
            writer.close()

    async def _read_events(self, pieces):
        kind, data, rest = "message", [], b""
        async for piece in pieces:
            lines = (rest + piece).replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n")
            rest = lines.pop()
            for line in lines:
                text = line.decode("utf-8", "replace")
                if text.startswith("event:"):
                    kind = text[6:].strip()
                elif text.startswith("data:"):
                    data.append(text[5:].lstrip(" "))
                elif text.startswith("id:"):
                    self.last_id = text[3:].strip()
                elif text == "":
                    if data and kind in ("page", "message"):
                        await self._take("\n".join(data))
                    kind, data = "message", []
        raise ValueError("the stream ended")

    async def _take(self, data):
        try:
            event = json.loads(data)
            version = event.get("version") or max(event.get("page", 0), event.get("config", 0))
        except (ValueError, KeyError, TypeError):
            return
        if version in self.events:
            return
        self.events[version] = time.time()
        self.made[version] = parse_time(event["time"])
        if self.fetch:
            self.fetches.append(asyncio.ensure_future(self._fetch(version)))

    async def _fetch(self, version):
        host, port = self.site
        try:
            reader, writer = await asyncio.open_connection(host, port)
            writer.write(("GET /default.dll?page=soccer&v=%d HTTP/1.1\r\nHost: %s:%d\r\nConnection: close\r\n\r\n"
                          % (version, host, port)).encode())
            answer = await reader.read()
            writer.close()
            self.pages[version] = time.time()
            self.cache[version] = b"\r\nX-Cache-Status: MISS\r\n" in answer.split(b"\r\n\r\n")[0] + b"\r\n"
        except OSError as error:
            self.error = repr(error)


async def run_screens(screens, seconds, stagger=2.0):
    """Runs every screen for `seconds`, their starts spread over `stagger` seconds."""
    until = time.time() + seconds

    async def start(screen, delay):
        await asyncio.sleep(delay)
        await screen.run(until)

    await asyncio.gather(*(start(screen, stagger * n / max(len(screens), 1)) for n, screen in enumerate(screens)))
    # Fetches still under way at the end are not waited for.
    for screen in screens:
        for fetch in screen.fetches:
            fetch.cancel()


def percentile(values, share):
    ordered = sorted(values)
    if not ordered:
        return float("nan")
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))]
