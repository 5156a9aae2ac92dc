#!/usr/bin/python3
"""Checks the page parser against a reference build and measures its speed.

  identity REFERENCE NEW [--feed CALTRIX_FEED]
      runs two caltrix-parse programs on the same pages and compares their
      result files byte for byte, with their exit status and error message:
      the test fixtures, the fuzz seeds, the demo feed's page (when --feed
      gives caltrix-feed), generated large pages and some thousands of
      generated small pages full of the parser's corner cases
  speed PARSE [--megabytes 10] [--runs 7] [--no-slots]
      times caltrix-parse, the whole process, on generated pages of that size
      and prints the best and the median run in MB/s, of the wall-clock time
      and of the processor time (user and system) of the process: on a
      shared machine the latter is the steadier figure
  pages DIR
      writes the generated large pages to DIR

Usage: scripts/parse_check.py identity /tmp/ref/bin/caltrix-parse build/bin/caltrix-parse
"""

import argparse
import os
import random
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from harness import free_port, stop_process, temporary_folder  # noqa: E402

# Eleven selection strings that exercise the fragments: named competitions,
# a country, an empty fragment (everything), none at all.
SELECTIONS = ["SERIEA;", "ITALY;", "PREMIER;LEAGUE 1;", "COUNTRY1;COUNTRY7;", ";;", "", "LEAGUE;",
              "X", ";", "SPAIN;FRANCE;", "TAÇA;GROUP;"]

TEAMS = ["Juventus", "Inter Milan", "AC Milan", "AS Roma", "Lazio", "L'Aquila", "Maccabi Petah Tikva",
         "Real Madrid", "Penafiel", "FTC", "M'gladbach", "Benfica", "Sporting", "Atlético", "Šibenik"]
STATUSES = ["FT", "HT", "AET", "Pen.", "Postp.", "Susp.", "67'", "45+2'", "19:30", "20:45", "12'"]
COUNTRIES = ["Italy", "Spain", "England", "Portugal", "Czech Republic", "Europe", "Country1"]
LEAGUES = ["Serie A", "Serie B", "Premier League", "Gambrinus League", "Champions League - Group A",
           "Taça de Portugal", "Regional League", "League 1", "Primera D'Honor"]


def latin1(text):
    return text.encode("cp1252")


# --- generated pages ---------------------------------------------------------

def realistic_page(size, seed=7):
    """A live-score page of about `size` bytes: one table cell per line."""
    rnd = random.Random(seed)
    parts = [b"<html><body><div class=\"header\">Live scores</div>\r\n<table class=\"scores\">\r\n"]
    total = len(parts[0])
    competition = 0
    while total < size:
        lines = ["<tr><td class=title colspan=4>%s - %s %d</td></tr>" % (
            rnd.choice(COUNTRIES), rnd.choice(LEAGUES), competition % 300), "<tr><td class=\"date\">May 12</td></tr>"]
        for _ in range(10):
            lines.append("<tr class=\"row\"><td class=\"status\">%s</td>" % rnd.choice(STATUSES))
            lines.append("<td class=\"home\">%s&nbsp;</td>" % rnd.choice(TEAMS))
            lines.append("<td class=\"score\"><a href=\"/m/%d\">%d - %d</a></td>" % (
                rnd.randrange(100000), rnd.randrange(5), rnd.randrange(5)))
            lines.append("<td class=\"away\">%s</td></tr>" % rnd.choice(TEAMS))
        chunk = latin1("\r\n".join(lines) + "\r\n")
        parts.append(chunk)
        total += len(chunk)
        competition += 1
    parts.append(b"</table>\r\n<div class=\"footer\"><a href=\"/x\">t=new</a></div>\r\n")
    return b"".join(parts)


def tool_page(size):
    """The page of caltrix-cycle-stall: competitions of twenty matches, LF line ends."""
    parts = [b"<html><head><title>Soccer</title></head><body><table>\n"]
    total = len(parts[0])
    competition = 1
    while total < size:
        chunk = "<tr>\n<td class=\"title\" colspan=\"4\">Country%d - League</td>\n</tr>\n" % competition
        for match in range(20):
            chunk += ("<tr>\n<td>%d'</td>\n<td>Home team %d</td>\n<td>1 - 0</td>\n<td>Away team %d</td>\n</tr>\n"
                      % (10 + match * 4, match, match))
        parts.append(chunk.encode())
        total += len(chunk)
        competition += 1
    parts.append(b"</table></body></html>\n")
    return b"".join(parts)


def hostile_line(size, seed=11):
    """One line of distinct, nested and overlapping tags."""
    rnd = random.Random(seed)
    pieces = []
    total = 0
    while total < size:
        n = str(rnd.randrange(50000))
        piece = rnd.choice(["<t%s>x</t%s>" % (n, n), "<a<b%s<c>>>" % n, "<<%s>" % n, "<i>%s<i<i>>" % n,
                            "<" * rnd.randrange(20) + "q%s>" % n, "text %s" % n])
        pieces.append(piece)
        total += len(piece)
    return "".join(pieces) + ">"


def large_pages():
    page = realistic_page(10_000_000)
    return {
        "realistic-10mb.htm": page,
        "realistic-10mb-cr.htm": page.replace(b"\r\n", b"\r"),
        "realistic-10mb-lf.htm": page.replace(b"\r\n", b"\n"),
        "tool-5mb.htm": tool_page(5 * 1024 * 1024),
        "hostile-1mb.htm": b"<td class=title>Italy - Serie A</td>\r\n" + hostile_line(1_000_000).encode() + b"\r\n",
    }


SMALL_PIECES = (
    ["<td>", "</td>", "<tr>", "</tr>", "<td class=title>", "<td class=\"title\">", "<a href=/x>", "</a>",
     "<b>", "</b>", "<br>", "<i<i>>", "<<", ">>", "<", ">", "<x>>", "<x>>a<<x>", "<!-- c -->", "t=new",
     " - ", " -", "' ", "&nbsp;", "&amp;", "Regional", ":", "  ", "\t", "\x00", "\xa0"]
    + TEAMS + STATUSES + COUNTRIES + LEAGUES
    + ["May 3", "Mayo", "March 4", "Marcianise", "January", "Dece", "LEAGUE-GROUP", "Republic - Gambrinus",
       "Taça de Portugal", "à la", "çé", "ÿ", "œuvre", "45'", "90+4'", "Pen 4-3", "? - ?"])
LINE_ENDS = ["\r\n", "\r\n", "\r\n", "\r", "\n", ""]


def small_page(rnd):
    lines = []
    for _ in range(rnd.randrange(1, 40)):
        line = "".join(rnd.choice(SMALL_PIECES) for _ in range(rnd.randrange(0, 8)))
        if rnd.random() < 0.2:
            line = "<td class=title>%s - %s</td>" % (rnd.choice(COUNTRIES), rnd.choice(LEAGUES))
        lines.append(line + rnd.choice(LINE_ENDS))
    return latin1("".join(lines))


# --- running caltrix-parse ---------------------------------------------------

def split_fuzz_input(data):
    """A fuzz input: up to eleven NUL-separated selection strings, then the page."""
    selections = []
    while len(selections) < 11 and b"\x00" in data:
        selection, data = data.split(b"\x00", 1)
        selections.append(selection)
    return selections, data


def slot_arguments(selections):
    arguments = []
    for slot, selection in enumerate(selections, start=1):
        if isinstance(selection, str):
            selection = latin1(selection)
        arguments += ["--slot", b"%d=%s" % (slot, selection)]
    return arguments


def run_parse(program, page_path, selections, out):
    """Exit status, first error line and every written file's bytes."""
    os.makedirs(out)
    done = subprocess.run([program, page_path, "--out", out] + slot_arguments(selections),
                          capture_output=True)
    files = {}
    for name in sorted(os.listdir(out)):
        with open(os.path.join(out, name), "rb") as f:
            files[name] = f.read()
    error = done.stderr.split(b"\n", 1)[0]
    return done.returncode, error, files


def describe_difference(a, b):
    if a[0] != b[0] or a[1] != b[1]:
        return "status %d %r against %d %r" % (a[0], a[1], b[0], b[1])
    if sorted(a[2]) != sorted(b[2]):
        return "files %s against %s" % (sorted(a[2]), sorted(b[2]))
    for name in a[2]:
        if a[2][name] != b[2][name]:
            left, right = a[2][name], b[2][name]
            at = next((i for i in range(min(len(left), len(right))) if left[i] != right[i]),
                      min(len(left), len(right)))
            return "%s differs at byte %d: %r against %r" % (name, at, left[at:at + 40], right[at:at + 40])
    return None


class Comparison:
    def __init__(self, reference, candidate, work):
        self.reference, self.candidate, self.work = reference, candidate, work
        self.pages = self.failures = 0

    def check(self, name, page, selections=SELECTIONS):
        page_path = os.path.join(self.work, "page")
        with open(page_path, "wb") as f:
            f.write(page)
        results = []
        for side, program in (("reference", self.reference), ("candidate", self.candidate)):
            out = os.path.join(self.work, side)
            shutil.rmtree(out, ignore_errors=True)
            results.append(run_parse(program, page_path, selections, out))
        self.pages += 1
        difference = describe_difference(*results)
        if difference:
            self.failures += 1
            kept = os.path.join(self.work, "failed-%d" % self.failures)
            shutil.copy(page_path, kept)
            print("DIFFERENT %s (%d bytes, kept as %s): %s" % (name, len(page), kept, difference))


def demo_pages(feed, count=3):
    """The demo feed's page, fetched a few times some seconds apart."""
    port = free_port()
    server = subprocess.Popen([feed, "--demo", "--listen", "127.0.0.1:%d" % port],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    pages = []
    try:
        address = "http://127.0.0.1:%d/default.dll?page=soccer" % port
        deadline = time.time() + 20
        while len(pages) < count and time.time() < deadline:
            try:
                pages.append(urllib.request.urlopen(address, timeout=5).read())
                time.sleep(2)
            except OSError:
                time.sleep(0.2)
    finally:
        stop_process(server)
    if len(pages) < count:
        sys.exit("the demo feed did not answer")
    return pages


def identity(args):
    work = tempfile.mkdtemp(prefix="caltrix-parse-check-")
    comparison = Comparison(os.path.abspath(args.reference), os.path.abspath(args.candidate), work)
    fixtures = os.path.join(ROOT, "tests", "acquisition", "fixtures")
    for name in sorted(os.listdir(fixtures)):
        with open(os.path.join(fixtures, name), "rb") as f:
            comparison.check(name, f.read())
    seeds = os.path.join(ROOT, "fuzz", "seeds", "parse")
    for name in sorted(os.listdir(seeds)):
        with open(os.path.join(seeds, name), "rb") as f:
            selections, page = split_fuzz_input(f.read())
        comparison.check("seed " + name, page, selections or SELECTIONS)
    if args.feed:
        for n, page in enumerate(demo_pages(args.feed)):
            comparison.check("demo page %d" % n, page)
    for name, page in large_pages().items():
        comparison.check(name, page)
    rnd = random.Random(args.seed)
    for n in range(args.small):
        comparison.check("small page %d (seed %d)" % (n, args.seed), small_page(rnd))
    print("%d pages, %d different" % (comparison.pages, comparison.failures))
    if comparison.failures == 0:
        shutil.rmtree(work)
    return 1 if comparison.failures else 0


def speed(args):
    size = int(args.megabytes * 1_000_000)
    pages = {"realistic": realistic_page(size), "tool": tool_page(size)}
    selections = SELECTIONS if args.slots else []
    with temporary_folder("caltrix-parse-speed-") as work:
        for name, page in pages.items():
            page_path = os.path.join(work, name + ".htm")
            with open(page_path, "wb") as f:
                f.write(page)
            wall, cpu = [], []
            for run in range(args.runs):
                out = os.path.join(work, "out%d" % run)
                os.makedirs(out)
                before = resource.getrusage(resource.RUSAGE_CHILDREN)
                start = time.perf_counter()
                subprocess.run([args.parse, page_path, "--out", out] + slot_arguments(selections),
                               check=True, stdout=subprocess.DEVNULL)
                wall.append(time.perf_counter() - start)
                after = resource.getrusage(resource.RUSAGE_CHILDREN)
                cpu.append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
                shutil.rmtree(out)
            megabytes = len(page) / 1e6
            for kind, seconds in (("wall", wall), ("cpu", cpu)):
                print("%-9s page %.1f MB, %s: best %.3f s (%.0f MB/s), median %.3f s (%.0f MB/s) over %d runs" % (
                    name, megabytes, kind, min(seconds), megabytes / min(seconds), statistics.median(seconds),
                    megabytes / statistics.median(seconds), args.runs))
    return 0


def pages(args):
    os.makedirs(args.folder, exist_ok=True)
    for name, page in large_pages().items():
        with open(os.path.join(args.folder, name), "wb") as f:
            f.write(page)
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    commands = parser.add_subparsers(dest="command", required=True)
    check = commands.add_parser("identity")
    check.add_argument("reference")
    check.add_argument("candidate")
    check.add_argument("--feed", help="caltrix-feed, for the demo's pages")
    check.add_argument("--small", type=int, default=3000, help="generated small pages")
    check.add_argument("--seed", type=int, default=1)
    check.set_defaults(run=identity)
    timing = commands.add_parser("speed")
    timing.add_argument("parse")
    timing.add_argument("--megabytes", type=float, default=10)
    timing.add_argument("--runs", type=int, default=7)
    timing.add_argument("--no-slots", dest="slots", action="store_false",
                        help="no slot selections (every slot file holds one empty line)")
    timing.set_defaults(run=speed)
    writing = commands.add_parser("pages")
    writing.add_argument("folder")
    writing.set_defaults(run=pages)
    args = parser.parse_args()
    sys.exit(args.run(args))


if __name__ == "__main__":
    main()
