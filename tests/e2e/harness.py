"""Runs the real program against the fault server and watches it: cycle log
lines, status file, result files, process tree, memory and descriptors. Its
pieces (Xvfb on a free display, waiting, stopping processes, free ports,
temporary folders) serve the other end-to-end runs and the measuring scripts."""

import argparse
import contextlib
import datetime
import glob
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

CYCLE_LINE = re.compile(r"cycle (\d+) (done|failed)\b(.*)")
SCHEMA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "status.schema.json")
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class Failure(Exception):
    pass


def parse_time(text):
    """Seconds since the epoch of a status file time (UTC, "Z")."""
    return datetime.datetime.strptime(text.replace("Z", "+0000"),
                                      "%Y-%m-%dT%H:%M:%S.%f%z" if "." in text else "%Y-%m-%dT%H:%M:%S%z").timestamp()


def wait_for(condition, timeout, what, interval=0.05, alive=None):
    """Polls `condition` until it returns a true value; raises Failure after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if alive is not None:
            alive()
        if time.monotonic() > deadline:
            raise Failure("timed out after %.0f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def running(process, what="the program"):
    """An `alive` check for wait_for: a Failure once `process` has ended."""
    def check():
        if process.poll() is not None:
            raise Failure("%s ended with code %s" % (what, process.returncode))
    return check


def wait_or_exit(condition, timeout, complaint, interval=0.05, alive=None):
    """wait_for for the measuring scripts, which end with `complaint` when it times out or `alive` fails."""
    try:
        return wait_for(condition, timeout, complaint, interval, alive)
    except Failure:
        sys.exit(complaint)


def schema_problems(status):
    """What makes a status file's contents disagree with data/status.schema.json."""
    import jsonschema  # only the runs that check the status file need it
    with open(SCHEMA, encoding="utf-8") as schema:
        return [e.message for e in jsonschema.Draft202012Validator(json.load(schema)).iter_errors(status)]


def endpoint_options(server_base):
    """The program's options that take configuration and page from one server."""
    return ["--config-endpoint", server_base, "--score-site", server_base]


def children_map():
    children = {}
    for stat in glob.glob("/proc/[0-9]*/stat"):
        try:
            with open(stat) as f:
                text = f.read()
        except OSError:
            continue
        pid = int(stat.split("/")[2])
        ppid = int(text[text.rindex(")") + 2:].split()[1])
        children.setdefault(ppid, []).append(pid)
    return children


def process_tree(root):
    children = children_map()
    tree, todo = [], [root]
    while todo:
        pid = todo.pop()
        tree.append(pid)
        todo.extend(children.get(pid, []))
    return tree


def rss_kb(pid):
    try:
        with open("/proc/%d/status" % pid) as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def tree_rss_kb(root):
    return sum(rss_kb(pid) for pid in process_tree(root))


def cpu_seconds(pid):
    """Processor time (user and system) the process has taken; 0 once it is gone."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            fields = f.read().rsplit(")", 1)[1].split()
    except OSError:
        return 0.0
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS


def fd_count(pid):
    try:
        return len(os.listdir("/proc/%d/fd" % pid))
    except OSError:
        return -1


def free_port():
    """A TCP port of 127.0.0.1 that nothing listens on just now."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


def stop_process(process, group=False, grace=10):
    """Ends `process`, or with `group` its whole process group: TERM, then
    KILL when it is still there after `grace` seconds."""
    def send(number):
        try:
            if group:
                os.killpg(process.pid, number)
            else:
                process.send_signal(number)
        except ProcessLookupError:
            pass
    if process.poll() is None:
        send(signal.SIGTERM)
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            send(signal.SIGKILL)
            process.wait(grace)


def start_xvfb(screen="1280x1024", display=None):
    """Xvfb with one screen of `screen` (WIDTHxHEIGHT) on `display`, or on a
    display number it finds free itself (parallel runs cannot collide), in a
    session of its own; returns once it takes clients, with the process and
    the display's name."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb"] + ([display] if display else []) + [
        "-displayfd", str(write_end), "-screen", "0", screen + "x24", "-nolisten", "tcp"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,), start_new_session=True)
    os.close(write_end)
    with os.fdopen(read_end) as number:
        name = number.readline().strip()
    if not name:
        xvfb.wait()
        raise Failure("Xvfb did not start on %s" % (display or "a free display"))
    return xvfb, ":" + name


@contextlib.contextmanager
def temporary_folder(prefix, keep=False):
    """A new temporary folder, removed afterwards unless `keep` (then told where it is)."""
    root = tempfile.mkdtemp(prefix=prefix)
    try:
        yield root
    finally:
        if keep:
            print("kept:", root)
        else:
            shutil.rmtree(root, ignore_errors=True)


class Program:
    """One run of the program in a fresh temporary program folder, with its own
    `options` (where configuration and results come from) added."""

    def __init__(self, caltrix, options, time_scale, keep=False):
        self.caltrix = os.path.abspath(caltrix)
        self.root = tempfile.mkdtemp(prefix="caltrix-e2e-")
        self.folder = os.path.join(self.root, "program")
        self.work = os.path.join(self.root, "work")
        os.makedirs(self.work)
        self.status_path = os.path.join(self.root, "status.json")
        self.log_path = os.path.join(self.root, "caltrix.log")
        self.keep = keep
        self.cycles = []          # (number, outcome, text, time seen)
        self.lock = threading.Lock()
        env = dict(os.environ)
        env["TEMP"] = self.work
        env["QTWEBENGINE_DISABLE_SANDBOX"] = "1"
        env["QT_LOGGING_RULES"] = "caltrix.*.info=true"
        env.pop("QT_QPA_PLATFORM", None)
        command = [self.caltrix, "--program-folder", self.folder] + list(options) + [
            "--time-scale", str(time_scale), "--status-file", self.status_path]
        self.xvfb = None
        if shutil.which("Xvfb") and not os.environ.get("CALTRIX_E2E_OFFSCREEN"):
            self.xvfb, env["DISPLAY"] = start_xvfb()
        else:
            env["QT_QPA_PLATFORM"] = "offscreen"
        self.log = open(self.log_path, "w")
        # A session of its own, so the whole tree ends together.
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        env=env, start_new_session=True, text=True, errors="replace")
        # Should this script be killed outright, a small guard ends the
        # program's session and Xvfb's and removes the program's folder.
        sessions = [self.process.pid] + ([self.xvfb.pid] if self.xvfb else [])
        guard = ("import os, shutil, signal, time, sys\n"
                 "parent, groups, folder = %d, %r, %r\n"
                 "while os.path.exists('/proc/%%d' %% parent): time.sleep(1)\n"
                 "for sig in (signal.SIGTERM, signal.SIGKILL):\n"
                 "    for group in groups:\n"
                 "        try: os.killpg(group, sig)\n"
                 "        except OSError: pass\n"
                 "    time.sleep(2)\n"
                 "if folder: shutil.rmtree(folder, ignore_errors=True)\n"
                 % (os.getpid(), sessions, "" if keep else self.root))
        self.guard = subprocess.Popen([sys.executable, "-c", guard], stdin=subprocess.DEVNULL,
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        self.reader = threading.Thread(target=self._read_log, daemon=True)
        self.reader.start()
        self.pid = None

    def _read_log(self):
        still_loading = False
        for line in self.process.stderr:
            self.log.write(line)
            self.log.flush()
            if "has not finished loading" in line:
                still_loading = True
            match = CYCLE_LINE.search(line)
            if match:
                with self.lock:
                    # (number, "done" | "failed", log line, time seen, saved while the page was still loading)
                    self.cycles.append((int(match.group(1)), match.group(2), line.strip(), time.time(),
                                        still_loading))
                still_loading = False

    # -- the process --------------------------------------------------------
    def find_pid(self):
        """The program's own process, once it runs."""
        self.check_alive()
        self.pid = self.process.pid
        return self.pid

    def check_alive(self):
        code = self.process.poll()
        if code is not None:
            raise Failure("the program ended with code %s; log tail:\n%s" % (code, self.log_tail()))
        if self.pid is not None and not os.path.exists("/proc/%d" % self.pid):
            raise Failure("the program process %d is gone; log tail:\n%s" % (self.pid, self.log_tail()))

    def log_text(self):
        try:
            with open(self.log_path, errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def log_tail(self, lines=15):
        return "".join(self.log_text().splitlines(keepends=True)[-lines:])

    def tree(self):
        return process_tree(self.pid) if self.pid else []

    def tree_rss_kb(self):
        return tree_rss_kb(self.pid) if self.pid else 0

    def fds(self):
        return fd_count(self.pid)

    def stop(self):
        # Renderer helpers of a killed program may outlive it for a moment:
        # the tree is taken while it still hangs together.
        tree = set(process_tree(self.process.pid)) if self.process.poll() is None else set()
        stop_process(self.process, group=True)
        if self.pid:
            tree.update(process_tree(self.pid))
        for pid in tree:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        if self.xvfb:
            stop_process(self.xvfb)
        self.reader.join(5)
        self.log.close()
        if self.guard.poll() is None:
            self.guard.kill()
            self.guard.wait(5)
        if not self.keep:
            shutil.rmtree(self.root, ignore_errors=True)

    # -- what it wrote --------------------------------------------------------
    def status(self):
        try:
            with open(self.status_path, encoding="utf-8") as f:
                return json.load(f)
        except (OSError, ValueError):
            return None

    def slot_file(self, slot):
        try:
            with open(os.path.join(self.folder, "lmVideo%d.txt" % slot), "rb") as f:
                return f.read().decode("cp1252")
        except OSError:
            return None

    def slot_files(self):
        return {slot: self.slot_file(slot) for slot in range(1, 12)}

    def combined_files(self):
        return [name for name in os.listdir(self.folder) if re.fullmatch(r"video\d+\.txt", name, re.I)]

    def cycles_since(self, moment):
        with self.lock:
            return [c for c in self.cycles if c[3] >= moment]

    def last_cycle_after(self, moment):
        """The status file's last cycle when it ended after `moment` (epoch seconds)."""
        status = self.status()
        if status and status.get("lastCycle") and parse_time(status["lastCycle"]["time"]) > moment:
            return status["lastCycle"]
        return None


def stop_run(program, server, keep):
    """Stops the program (telling where its folder is when it is kept) and the server."""
    if program:
        if keep:
            print("kept:", program.root)
        program.stop()
    server.close()


def display_run_arguments(description, time_scale, deadline):
    """The options of an end-to-end run of the display; a polite stop
    (CTest's time-out, kill) still cleans up."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--caltrix", required=True)
    parser.add_argument("--time-scale", type=float, default=time_scale)
    parser.add_argument("--deadline", type=float, default=deadline, help="seconds to wait for any one condition")
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    return args


def run_in_folder(prefix, keep, run, passed, logs=()):
    """Runs `run(root)` in a new temporary folder and returns the exit status:
    0 when it passed, 1 on a Failure (with the tail of each of `logs` in the
    folder). The folder goes afterwards, unless `keep`."""
    with temporary_folder(prefix, keep) as root:
        try:
            run(root)
        except Failure as failure:
            print("FAILED:", failure)
            for name in logs:
                path = os.path.join(root, name)
                if os.path.exists(path):
                    print("--- %s (tail)" % name)
                    print("".join(open(path, errors="replace").readlines()[-15:]))
            return 1
    print(passed)
    return 0
