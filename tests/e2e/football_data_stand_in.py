#!/usr/bin/python3
"""A stand-in for the football-data.org v4 API on 127.0.0.1, for end-to-end
runs and the README's screenshot.

GET /v4/matches?dateFrom=...&dateTo=...[&competitions=SA,PL] answers today's sample matches (kick-offs
reckoned from now, so running, finished and coming matches are all there)
when the X-Auth-Token header holds the expected key, else 403 as the real
service does. The owner reads back the requests it saw.

Run alone: football_data_stand_in.py --key KEY [--port-file FILE]
"""

import argparse
import datetime
import http.server
import json
import sys
import threading
import time
import urllib.parse

# (area, competition, code, [(minutes from kick-off to now, status, home, away, score, half-time)])
SAMPLE = [
    ("Italy", "Serie A", "SA", [
        (67, "IN_PLAY", "Juventus", "Torino", (1, 0), (0, 0)),
        (50, "PAUSED", "Inter", "Milan", (2, 2), (2, 2)),
        (130, "FINISHED", "Napoli", "Roma", (3, 1), (1, 1)),
        (-45, "TIMED", "Lazio", "Fiorentina", (None, None), (None, None)),
    ]),
    ("England", "Premier League", "PL", [
        (23, "IN_PLAY", "Arsenal", "Chelsea", (0, 1), (None, None)),
        (110, "FINISHED", "Liverpool", "Everton", (2, 0), (1, 0)),
        (-90, "SCHEDULED", "Brighton & Hove", "Wolves", (None, None), (None, None)),
    ]),
    ("Spain", "Primera Division", "PD", [
        (81, "IN_PLAY", "Barça", "Real Madrid", (2, 1), (1, 1)),
        (0, "POSTPONED", "Sevilla", "Betis", (None, None), (None, None)),
    ]),
    ("Turkey", "Süper Lig", "TSL", [
        (30, "IN_PLAY", "Beşiktaş", "Fenerbahçe", (1, 1), (None, None)),
    ]),
]


def sample_matches(now, codes=None):
    matches = []
    for area, competition, code, rows in SAMPLE:
        if codes and code not in codes:
            continue
        for since, status, home, away, score, half in rows:
            kickoff = now - datetime.timedelta(minutes=since)
            match = {
                "area": {"name": area}, "competition": {"name": competition, "code": code},
                "utcDate": kickoff.strftime("%Y-%m-%dT%H:%M:%SZ"), "status": status,
                "homeTeam": {"name": home + " FC", "shortName": home},
                "awayTeam": {"name": away + " FC", "shortName": away},
                "score": {"duration": "REGULAR",
                          "fullTime": {"home": score[0], "away": score[1]},
                          "halfTime": {"home": half[0], "away": half[1]}},
            }
            if status == "IN_PLAY":
                match["minute"] = since if since <= 45 else since - 15
            matches.append(match)
    return matches


def send_json(handler, status, document, headers=None):
    """Answers a request of `handler` with `document` as JSON."""
    body = json.dumps(document).encode("utf-8")
    handler.send_response(status)
    handler.send_header("Content-Type", "application/json")
    handler.send_header("Content-Length", str(len(body)))
    for name, value in (headers or {}).items():
        handler.send_header(name, value)
    handler.end_headers()
    handler.wfile.write(body)


def serve_until_interrupted(stand_in, port_file):
    """Writes the port to `port_file` (if given) and serves until Ctrl-C."""
    if port_file:
        with open(port_file, "w") as f:
            f.write(str(stand_in.port))
    print("serving on", stand_in.base, flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        stand_in.close()


class LocalServer:
    """Serves requests with `handler` on 127.0.0.1 from a thread of its own."""

    def __init__(self, handler, port=0):
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        self.base = "http://127.0.0.1:%d" % self.port
        threading.Thread(target=self.server.serve_forever, daemon=True).start()

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class StandIn(LocalServer):
    def __init__(self, key, port=0):
        self.key = key
        self.requests = []   # (time, path with query, X-Auth-Token header)
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                owner.requests.append((time.time(), self.path, self.headers.get("X-Auth-Token")))
                path, _, query = self.path.partition("?")
                if path != "/v4/matches":
                    return self.answer(404, {"message": "not found"})
                if self.headers.get("X-Auth-Token") != owner.key:
                    return self.answer(403, {"message": "Your API token is invalid.", "errorCode": 403})
                codes = urllib.parse.parse_qs(query).get("competitions", [""])[0].split(",")
                codes = [code for code in codes if code] or None
                now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
                self.answer(200, {"filters": {}, "resultSet": {}, "matches": sample_matches(now, codes)},
                            {"X-Requests-Available-Minute": "9", "X-RequestCounter-Reset": "60"})

            def answer(self, status, document, headers=None):
                send_json(self, status, document, headers)

        super().__init__(Handler, port)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--key", required=True)
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    args = parser.parse_args()
    serve_until_interrupted(StandIn(args.key, args.port), args.port_file)


if __name__ == "__main__":
    sys.exit(main())
