#!/usr/bin/python3
"""A stand-in for the OpenLigaDB API on 127.0.0.1, for the README's
screenshot and runs by hand.

GET /getmatchdata/<league> answers the league's current matchday (bl1 and
bl2 here) in the shape of the real answers: matchDateTimeUTC, team1/team2
with teamName and shortName, matchIsFinished, matchResults (resultTypeID 1:
half-time, 2: final) and goals. Kick-offs are reckoned from now, so finished,
running and coming matches are all there. Needs no key, as the real one.

Run alone: openligadb_stand_in.py [--port PORT] [--port-file FILE]
"""

import argparse
import datetime
import http.server
import sys
import time

from football_data_stand_in import LocalServer, send_json, serve_until_interrupted

# league: (name, [(minutes from kick-off to now, home, away, goals as (minute, side))])
LEAGUES = {
    "bl1": ("1. Fußball-Bundesliga 2026/2027", [
        (2900, "FC Bayern München|Bayern", "Borussia Mönchengladbach|Gladbach", [(12, 1), (40, 2), (61, 1), (88, 1)]),
        (1500, "Bayer 04 Leverkusen|Leverkusen", "VfB Stuttgart|Stuttgart", [(33, 2)]),
        (130, "SC Freiburg|Freiburg", "1. FSV Mainz 05|Mainz", [(5, 1), (77, 1)]),
        (70, "1. FC Köln|Köln", "SV Werder Bremen|Bremen", [(22, 2), (55, 1)]),
        (70, "Eintracht Frankfurt|Frankfurt", "VfL Wolfsburg|Wolfsburg", [(9, 1), (31, 1), (48, 2)]),
        (52, "1. FC Union Berlin|Union Berlin", "FC Augsburg|Augsburg", [(17, 2)]),
        (25, "TSG Hoffenheim|Hoffenheim", "1. FC Heidenheim 1846|Heidenheim", []),
        (-60, "Borussia Dortmund|Dortmund", "RB Leipzig|Leipzig", []),
        (-1500, "Hamburger SV|HSV", "FC St. Pauli|St. Pauli", []),
    ]),
    "bl2": ("2. Fußball-Bundesliga 2026/2027", [
        (1560, "Hertha BSC|Hertha", "FC Schalke 04|Schalke", [(3, 1), (70, 2)]),
        (120, "Fortuna Düsseldorf|Düsseldorf", "Hannover 96|Hannover", [(44, 2), (90, 2)]),
        (80, "1. FC Nürnberg|Nürnberg", "Karlsruher SC|Karlsruhe", [(12, 1)]),
        (80, "SC Paderborn 07|Paderborn", "Preußen Münster|Münster", []),
        (40, "1. FC Kaiserslautern|Lautern", "Eintracht Braunschweig|Braunschweig", [(28, 1)]),
        (-30, "SpVgg Greuther Fürth|Fürth", "SV Darmstadt 98|Darmstadt", []),
    ]),
}


def match_minute(since):
    """The match minute `since` minutes after kick-off (15 minutes' break)."""
    return since + 1 if since < 45 else (45 if since < 60 else min(since - 14, 90))


def team(spec, team_id):
    name, short = spec.split("|")
    return {"teamId": team_id, "teamName": name, "shortName": short, "teamIconUrl": "", "teamGroupName": None}


def result(result_id, name, type_id, score, description):
    return {"resultID": result_id, "resultName": name, "pointsTeam1": score[0], "pointsTeam2": score[1],
            "resultOrderID": type_id, "resultTypeID": type_id, "resultDescription": description}


def matchday(league, now):
    name, rows = LEAGUES[league]
    matches = []
    for number, (since, home, away, goal_list) in enumerate(rows):
        kickoff = now - datetime.timedelta(minutes=since)
        finished = since >= 110
        minute = match_minute(since)
        goals, score, half = [], [0, 0], None
        for goal_minute, side in goal_list:
            if since < 0 or goal_minute > minute:
                continue
            score[side - 1] += 1
            goals.append({"goalID": len(goals) + 1, "scoreTeam1": score[0], "scoreTeam2": score[1],
                          "matchMinute": goal_minute, "goalGetterID": 0, "goalGetterName": "", "isPenalty": False,
                          "isOwnGoal": False, "isOvertime": False, "comment": None})
        results = []
        if since >= 45:
            half = [sum(1 for m, s in goal_list if m <= 45 and s == side) for side in (1, 2)]
            results.append(result(number * 10 + 1, "Halbzeitergebnis", 1, half,
                                  "Ergebnis nach Ende der ersten Halbzeit"))
        if since >= 0:
            results.append(result(number * 10 + 2, "Endergebnis", 2, score,
                                  "Ergebnis nach Ende der offiziellen Spielzeit"))
        local = kickoff + datetime.timedelta(hours=1)
        matches.append({
            "matchID": 72000 + number, "matchDateTime": local.strftime("%Y-%m-%dT%H:%M:%S"),
            "timeZoneID": "W. Europe Standard Time", "leagueId": 5100, "leagueName": name, "leagueSeason": 2026,
            "leagueShortcut": league, "matchDateTimeUTC": kickoff.strftime("%Y-%m-%dT%H:%M:%SZ"),
            "group": {"groupName": "14. Spieltag", "groupOrderID": 14, "groupID": 46001},
            "team1": team(home, 100 + 2 * number), "team2": team(away, 101 + 2 * number),
            "lastUpdateDateTime": now.strftime("%Y-%m-%dT%H:%M:%S"), "matchIsFinished": finished,
            "matchResults": results, "goals": goals, "location": None, "numberOfViewers": None,
        })
    return matches


class StandIn(LocalServer):
    def __init__(self, port=0):
        self.requests = []  # (time, path)
        owner = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def log_message(self, *args):
                pass

            def do_GET(self):
                owner.requests.append((time.time(), self.path))
                parts = self.path.split("?")[0].strip("/").split("/")
                if len(parts) != 2 or parts[0] != "getmatchdata" or parts[1].lower() not in LEAGUES:
                    return send_json(self, 404, [])
                now = datetime.datetime.now(datetime.timezone.utc).replace(microsecond=0)
                send_json(self, 200, matchday(parts[1].lower(), now))

        super().__init__(Handler, port)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    args = parser.parse_args()
    serve_until_interrupted(StandIn(args.port), args.port_file)


if __name__ == "__main__":
    sys.exit(main())
