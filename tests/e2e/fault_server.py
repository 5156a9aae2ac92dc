#!/usr/bin/python3
"""A local HTTP server that plays both the operator's endpoint and the
live-score site for end-to-end runs, and misbehaves on request.

It serves /public/config.txt, /public/*.htm and /default.dll?page=soccer on
127.0.0.1. What each request gets is chosen by a mode for the configuration
and one for the page:

  - set by the owner (FaultServer.set_modes) or over HTTP
    (/control?config=MODE&page=MODE&variant=N), or
  - drawn at random per request from a weighted mix (--mix / set_mix), with
    a fixed seed so a run can be repeated.

Every request is recorded (time, path, mode, serial of the page) so a check
can tell what each cycle saw. Good pages carry a serial: the probe match
"Juventus <a - b> Torino" of Italy - Serie A has the score a = serial // 100,
b = serial % 100, and the number of Serie B matches changes with the serial.

Run alone: fault_server.py [--port-file FILE] [--mix] [--seed N]
"""

import argparse
import http.server
import json
import random
import re
import socket
import socketserver
import struct
import sys
import threading
import time
import urllib.parse

CONFIG_MODES = ("good", "empty", "lf_only", "no_colon", "garbage",
                "http500", "hang", "reset", "dribble", "huge")
PAGE_MODES = ("good", "http500", "hang", "reset", "truncated", "garbage",
              "empty", "big", "dribble")

# Selection variants: slot 1 always shows Serie A, where the probe match is.
SELECTIONS = (
    {"01": "SERIEA;", "02": "SERIEB;", "03": "PREMIER;", "04": "LALIGA;",
     "05": "BUNDESLIGA;", "06": "ITALY;", "07": "", "08": "SERIE A;SPAIN;",
     "22": "ENGLAND;GERMANY;", "23": "NOSUCHLEAGUE;", "24": "ITALY"},
    {"01": "SERIEA;PREMIER;", "02": "BUNDESLIGA;", "03": "SERIEB;",
     "04": "ITALY;", "05": "", "06": "LALIGA;", "07": "SPAIN;ENGLAND;",
     "08": "GERMANY;", "22": "SERIEB;", "23": "PREMIER;", "24": ";;"},
    {"01": "ITALY-SERIEA;", "02": "PREMIER;SERIEB;", "03": "",
     "04": "BUNDESLIGA;LALIGA;", "05": "SERIEB;", "06": "ENGLAND;",
     "07": "ITALY;", "08": "SPAIN;", "22": "BUNDESLIGA;", "23": "LALIGA;",
     "24": "SERIEA;"},
)

HANG_SECONDS = 3.0          # longer than the program's download time-out at any scale used here
DRIBBLE_CHUNK = 64          # bytes per dribbled chunk
DRIBBLE_PAUSE = 0.15        # seconds between chunks
BIG_BYTES = 20 * 1024 * 1024
HUGE_CONFIG_BYTES = 64 * 1024 * 1024   # far over the program's 1 MiB cap
# Sent as one chunk over and over: building 64 MiB anew takes half a second,
# as long as the program's time-scaled wait for the answer.
HUGE_CHUNK = b"x" * (1024 * 1024)
DOWN_SECONDS = 2.0          # how long a "down" drawn from the mix keeps the port closed

DEFAULT_MIX = {
    # Weights per request. Good answers dominate so that most cycles end well.
    "config": {"good": 70, "empty": 4, "lf_only": 4, "no_colon": 4, "garbage": 4,
               "http500": 3, "hang": 3, "reset": 3, "dribble": 2, "down": 3, "huge": 2},
    "page": {"good": 64, "http500": 4, "hang": 4, "reset": 4, "truncated": 4,
             "garbage": 4, "empty": 4, "big": 2, "dribble": 3},
    "variant_change": 0.15,   # chance that a good configuration switches variant
}


def probe_score(serial):
    return serial // 100, serial % 100


def shown_serial(slot_text):
    """The serial of the good page whose probe match a slot file shows, or None."""
    match = re.search(r"JUVENTUS <(\d+)-(\d+)> TORINO", slot_text or "")
    return int(match.group(1)) * 100 + int(match.group(2)) if match else None


def competitions(serial):
    """The competitions of the good page with this serial: [(title, [(status, home, score, away)])]."""
    rnd = random.Random(serial)

    def score():
        return "%d - %d" % (rnd.randint(0, 4), rnd.randint(0, 4))

    home, away = probe_score(serial)
    serie_b = [("HT", "Sampdoria", score(), "Bari"), ("Postp.", "Palermo", "? - ?", "Cremonese"),
               ("FT", "L'Aquila", score(), "Spezia")][:1 + serial % 3]
    return [
        ("Italy - Serie A", [("FT", "Juventus", "%d - %d" % (home, away), "Torino"),
                             ("%d'" % (1 + serial % 89), "Inter Milan", score(), "AS Roma"),
                             ("20:45", "Lazio", "? - ?", "Napoli")]),
        ("Italy - Serie B", serie_b),
        ("England - Premier League", [("HT", "Arsenal", score(), "Chelsea"),
                                      ("FT", "Brighton & Hove Albion", score(), "Everton")]),
        ("Spain - La Liga", [("AET", "Real Madrid", score(), "Barcelona")]),
        ("Germany - Bundesliga", [("Pen.", "Bayern München", score(), "1. FC Köln"),
                                  ("Susp.", "Werder Bremen", score(), "Schalke 04")]),
    ]


def match_count(serial):
    return sum(len(matches) for _, matches in competitions(serial))


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def good_page(serial, padding=0):
    rows = []
    for title, matches in competitions(serial):
        rows.append("<tr>\n<td class=title colspan=4>%s</td>\n</tr>\n" % escape(title))
        rows.append("<tr>\n<td colspan=4>December 7</td>\n</tr>\n")
        for status, home, score, away in matches:
            rows.append("<tr>\n<td>%s</td>\n<td>%s</td>\n<td>%s</td>\n<td>%s</td>\n</tr>\n"
                        % (status, escape(home), score, escape(away)))
    head = ("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"windows-1252\">\n"
            "<title>Live scores %d</title>\n</head>\n<body>\n<div>Live football scores</div>\n<table>\n" % serial)
    tail = "</table>\n<script>var t=new Date();</script>\n"
    text = head + "".join(rows) + tail
    if padding:
        # Filler after the end marker: the parser never reaches it.
        line = "<p>" + "x" * 92 + "</p>\n"
        text += line * (padding // len(line))
    return (text + "</body>\n</html>\n").encode("cp1252")


def config_text(variant, port, line_end="\r\n", bad_button=False):
    sel = SELECTIONS[variant % len(SELECTIONS)]
    # With LF line ends the whole file is one line: its first key takes the rest as its value.
    lines = [] if line_end == "\n" else ["00=caltrix test endpoint variant %d" % variant]
    lines += ["%s=%s" % (key, sel[key]) for key in ("01", "02", "03", "04", "05", "06", "07", "08")]
    lines += ["09=banner1.htm;unused.htm", "10=banner2.htm", "11=banner3.htm",
              "12=Variant %d of the test configuration" % variant,
              "13=Teletext:http://127.0.0.1:%d/public/teletext.htm" % port,
              "14=:", "15=Results:http://127.0.0.1:%d/public/results.htm" % port]
    if bad_button:
        lines.append("16=a caption without a target")
    lines += ["%s=%s" % (key, sel[key]) for key in ("22", "23", "24")]
    return (line_end.join(lines) + line_end).encode("cp1252")


def garbage(size, seed, forbid=b""):
    rnd = random.Random(seed)
    data = bytes(rnd.getrandbits(8) for _ in range(size))
    for byte in forbid:
        data = data.replace(bytes([byte]), b"#")
    return data


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "FaultServer/1"

    def log_message(self, fmt, *args):  # quiet: the request log is the record
        pass

    def setup(self):
        super().setup()
        self.server.owner._opened(self.connection)

    def finish(self):
        try:
            super().finish()
        finally:
            self.server.owner._closed(self.connection)

    def do_GET(self):
        self.server.owner._handle(self)


class _Listener(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def handle_error(self, request, client_address):
        pass  # resets and abandoned answers are on purpose


class FaultServer:
    def __init__(self, port=0, seed=1, mix=None):
        self.lock = threading.Lock()
        self.stopping = threading.Event()
        self.config_mode = "good"
        self.page_mode = "good"
        self.variant = 0
        self.mix = mix
        self.rng = random.Random(seed)
        self.serial = 0
        self.log = []             # one dict per request
        self.counts = {}          # "config:mode" / "page:mode" -> served
        self.port = port
        self.listener = None
        self.thread = None
        self.down_until = 0.0
        self.down_seconds = DOWN_SECONDS
        self.connections = set()
        self.start_listening()

    # -- life cycle -------------------------------------------------------
    def start_listening(self):
        listener = _Listener(("127.0.0.1", self.port), _Handler)
        listener.owner = self
        self.port = listener.server_address[1]
        self.listener = listener
        self.thread = threading.Thread(target=listener.serve_forever, kwargs={"poll_interval": 0.05}, daemon=True)
        self.thread.start()

    def stop_listening(self):
        """Closes the port and every open connection: kept-alive connections die too."""
        listener, self.listener = self.listener, None
        if listener is not None:
            listener.shutdown()
            listener.server_close()
        with self.lock:
            open_connections = list(self.connections)
        for connection in open_connections:
            try:
                connection.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass

    def _opened(self, connection):
        with self.lock:
            self.connections.add(connection)

    def _closed(self, connection):
        with self.lock:
            self.connections.discard(connection)

    def go_down(self, seconds):
        """Stops listening now and listens again after `seconds` (from another thread)."""
        def cycle():
            self.stop_listening()
            if not self.stopping.wait(seconds):
                self.start_listening()
        self.down_until = time.time() + seconds
        threading.Thread(target=cycle, daemon=True).start()

    def close(self):
        self.stopping.set()
        self.stop_listening()

    @property
    def base(self):
        return "127.0.0.1:%d" % self.port

    # -- control ----------------------------------------------------------
    def set_modes(self, config=None, page=None, variant=None):
        with self.lock:
            if config is not None:
                assert config in CONFIG_MODES, config
                self.config_mode = config
            if page is not None:
                assert page in PAGE_MODES, page
                self.page_mode = page
            if variant is not None:
                self.variant = variant

    def set_mix(self, mix):
        with self.lock:
            self.mix = mix

    def requests(self, kind=None, mode=None, since=0.0):
        with self.lock:
            return [r for r in self.log if (kind is None or r["kind"] == kind)
                    and (mode is None or r["mode"] == mode) and r["time"] >= since]

    def _choose(self, kind):
        with self.lock:
            if self.mix is None:
                mode = self.config_mode if kind == "config" else self.page_mode
            else:
                weights = self.mix[kind]
                mode = self.rng.choices(list(weights), list(weights.values()))[0]
                if kind == "config" and mode == "good" and self.rng.random() < self.mix.get("variant_change", 0):
                    self.variant += 1
            serial = None
            if kind == "page" and mode in ("good", "big", "truncated", "dribble"):
                self.serial += 1
                serial = self.serial
            record = {"time": time.time(), "kind": kind, "mode": mode, "serial": serial,
                      "variant": self.variant}
            self.log.append(record)
            key = "%s:%s" % (kind, mode)
            self.counts[key] = self.counts.get(key, 0) + 1
            return record

    # -- answers ----------------------------------------------------------
    def _handle(self, h):
        if self.listener is None:
            return self._reset(h)  # a request that slipped in while going down
        url = urllib.parse.urlsplit(h.path)
        if url.path == "/control":
            return self._control(h, urllib.parse.parse_qs(url.query))
        if url.path == "/public/config.txt":
            return self._config(h)
        if url.path == "/default.dll" and url.query == "page=soccer":
            return self._page(h)
        if url.path.startswith("/public/") and url.path.endswith(".htm"):
            name = escape(url.path[len("/public/"):])
            return self._send(h, 200, ("<html><body><p>Banner %s</p></body></html>" % name).encode(), "text/html")
        with self.lock:
            self.log.append({"time": time.time(), "kind": "other", "mode": url.path, "serial": None,
                             "variant": self.variant})
        self._send(h, 404, b"not here", "text/plain")

    def _control(self, h, query):
        try:
            self.set_modes(config=query.get("config", [None])[0], page=query.get("page", [None])[0],
                           variant=int(query["variant"][0]) if "variant" in query else None)
            if "down" in query:
                self.go_down(float(query["down"][0]))
            if "mix" in query:
                self.set_mix(DEFAULT_MIX if query["mix"][0] == "default" else None)
        except (AssertionError, ValueError) as error:
            return self._send(h, 400, ("bad control: %s\n" % error).encode(), "text/plain")
        with self.lock:
            state = {"config": self.config_mode, "page": self.page_mode, "variant": self.variant,
                     "serial": self.serial, "counts": self.counts}
        self._send(h, 200, json.dumps(state).encode(), "application/json")

    def _config(self, h):
        record = self._choose("config")
        mode = record["mode"]
        variant = record["variant"]
        if mode == "down":
            self.go_down(self.down_seconds)
            return self._reset(h)
        if self._transport_fault(h, mode, config_text(variant, self.port)):
            return
        body = {
            "good": lambda: config_text(variant, self.port),
            "empty": lambda: b"",
            "lf_only": lambda: config_text(variant, self.port, line_end="\n"),
            "no_colon": lambda: config_text(variant, self.port, bad_button=True),
            "garbage": lambda: garbage(700, len(self.log), forbid=b"=\r"),
            "huge": lambda: [config_text(variant, self.port), b"00="]
            + [HUGE_CHUNK] * (HUGE_CONFIG_BYTES // len(HUGE_CHUNK)) + [b"\r\n"],
        }[mode]()
        self._send(h, 200, body, "text/plain; charset=windows-1252")

    def _page(self, h):
        record = self._choose("page")
        mode, serial = record["mode"], record["serial"]
        if mode == "truncated":
            page = good_page(serial)
            h.send_response(200)
            h.send_header("Content-Type", "text/html; charset=windows-1252")
            h.send_header("Content-Length", str(len(page)))
            h.send_header("Cache-Control", "no-store")
            h.end_headers()
            h.wfile.write(page[: len(page) // 2])
            h.wfile.flush()
            return self._reset(h)
        if self._transport_fault(h, mode, good_page(serial or 0)):
            return
        body = {
            "good": lambda: good_page(serial),
            "garbage": lambda: garbage(30000, serial or len(self.log)),
            "empty": lambda: b"",
            "big": lambda: good_page(serial, padding=BIG_BYTES),
        }[mode]()
        self._send(h, 200, body, "text/html; charset=windows-1252")

    def _transport_fault(self, h, mode, body):
        """Answers the faults that are the same for both addresses; true when it did."""
        if mode == "http500":
            self._send(h, 500, b"<html><body><h1>Internal Server Error</h1></body></html>", "text/html")
        elif mode == "hang":
            # No answer at all for longer than the program waits; then close.
            self.stopping.wait(HANG_SECONDS)
            h.close_connection = True
        elif mode == "reset":
            self._reset(h)
        elif mode == "dribble":
            try:
                h.send_response(200)
                h.send_header("Content-Type", "text/html; charset=windows-1252")
                h.send_header("Content-Length", str(len(body)))
                h.send_header("Cache-Control", "no-store")
                h.end_headers()
                deadline = time.time() + 30
                for start in range(0, len(body), DRIBBLE_CHUNK):
                    if self.stopping.wait(DRIBBLE_PAUSE) or time.time() > deadline:
                        break
                    h.wfile.write(body[start:start + DRIBBLE_CHUNK])
                    h.wfile.flush()
            except OSError:
                pass  # the program gave up waiting
            h.close_connection = True
        else:
            return False
        return True

    @staticmethod
    def _reset(h):
        # SO_LINGER with a zero time-out makes close() send RST.
        try:
            h.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        except OSError:
            pass
        h.close_connection = True
        try:
            h.connection.close()
        except OSError:
            pass

    @staticmethod
    def _send(h, status, body, content_type):
        """Answers with `body`: bytes, or a list of byte strings sent one after another."""
        parts = body if isinstance(body, list) else [body]
        try:
            h.send_response(status)
            h.send_header("Content-Type", content_type)
            h.send_header("Content-Length", str(sum(len(part) for part in parts)))
            h.send_header("Cache-Control", "no-store")
            h.end_headers()
            for part in parts:
                h.wfile.write(part)
        except OSError:
            h.close_connection = True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--mix", action="store_true", help="draw modes at random from the default mix")
    parser.add_argument("--seconds", type=float, default=3600, help="stop by itself after this long")
    args = parser.parse_args()
    server = FaultServer(args.port, args.seed, DEFAULT_MIX if args.mix else None)
    if args.port_file:
        with open(args.port_file, "w") as out:
            out.write("%d\n" % server.port)
    print("PORT %d" % server.port, flush=True)
    try:
        time.sleep(args.seconds)
    except KeyboardInterrupt:
        pass
    server.close()
    print(json.dumps(server.counts, sort_keys=True))


if __name__ == "__main__":
    sys.exit(main())
