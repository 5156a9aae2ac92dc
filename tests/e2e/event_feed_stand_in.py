"""A stand-in for a feed server that tells its screens of new versions: the
live-score page of the fault server's good page with the version as its
serial (plain and versioned address), the configuration, and /feed/events as
a Server-Sent Events stream (the current version at once on connect, one
event per new version, a heartbeat comment meanwhile). It can go down and
come back on the same port, counting versions anew."""

import http.server
import json
import socket
import socketserver
import threading
import time
import urllib.parse

import fault_server


def page_event(version, configuration=1):
    data = {"version": version, "page": version, "config": configuration,
            "time": time.strftime("%Y-%m-%dT%H:%M:%S", time.gmtime()) + ".000Z"}
    return ("event: page\nid: %d\ndata: %s\n\n" % (version, json.dumps(data, separators=(",", ":")))).encode()


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, fmt, *args):
        pass

    def do_GET(self):
        self.server.owner.answer(self)


class _Listener(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass


class EventFeed:
    def __init__(self, port=0, heartbeat=15.0):
        self.heartbeat = heartbeat
        self.changed = threading.Condition()
        self.version = 1
        self.generation = 0       # a new one each time it comes back
        self.log = []             # (time, path with query, Last-Event-ID)
        self.port = port
        self.listener = None
        self.streams = set()
        self.start()

    @property
    def base(self):
        return "127.0.0.1:%d" % self.port

    def start(self):
        self.listener = _Listener(("127.0.0.1", self.port), _Handler)
        self.listener.owner = self
        self.port = self.listener.server_address[1]
        threading.Thread(target=self.listener.serve_forever, kwargs={"poll_interval": 0.05}, daemon=True).start()

    def stop(self):
        """Closes the port and every open stream, as a killed server does."""
        listener, self.listener = self.listener, None
        with self.changed:
            self.generation += 1
            self.changed.notify_all()
        if listener:
            listener.shutdown()
            listener.server_close()
        for connection in list(self.streams):
            try:
                connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def restart(self):
        """Comes back on the same port with versions counted anew."""
        self.version = 1
        self.start()

    def bump(self):
        with self.changed:
            self.version += 1
            self.changed.notify_all()
        return self.version

    def requests(self, path_prefix, since=0.0):
        return [entry for entry in list(self.log) if entry[1].startswith(path_prefix) and entry[0] >= since]

    def answer(self, h):
        self.log.append((time.time(), h.path, h.headers.get("Last-Event-ID")))
        url = urllib.parse.urlsplit(h.path)
        query = urllib.parse.parse_qs(url.query)
        if url.path == "/feed/events":
            return self.stream(h)
        if url.path == "/public/config.txt":
            return self.send(h, fault_server.config_text(0, self.port), "text/plain; charset=windows-1252")
        if url.path == "/default.dll" and query.get("page") == ["soccer"]:
            return self.send(h, fault_server.good_page(self.version), "text/html; charset=windows-1252")
        self.send(h, b"not here", "text/plain", 404)

    @staticmethod
    def send(h, body, content_type, status=200):
        try:
            h.send_response(status)
            h.send_header("Content-Type", content_type)
            h.send_header("Content-Length", str(len(body)))
            h.send_header("Cache-Control", "no-store")
            h.end_headers()
            h.wfile.write(body)
        except OSError:
            h.close_connection = True

    def stream(self, h):
        h.close_connection = True
        generation = self.generation
        self.streams.add(h.connection)
        try:
            h.send_response(200)
            h.send_header("Content-Type", "text/event-stream")
            h.send_header("Cache-Control", "no-store")
            h.send_header("X-Accel-Buffering", "no")
            h.end_headers()
            sent = self.version
            h.wfile.write(page_event(sent))
            h.wfile.flush()
            while True:
                with self.changed:
                    self.changed.wait_for(lambda: self.version != sent or self.generation != generation,
                                          self.heartbeat)
                if self.generation != generation:
                    return
                if self.version != sent:
                    sent = self.version
                    h.wfile.write(page_event(sent))
                else:
                    h.wfile.write(b":\n")
                h.wfile.flush()
        except OSError:
            pass
        finally:
            self.streams.discard(h.connection)
