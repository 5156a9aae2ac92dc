"""The fleet's parts as ordinary processes on 127.0.0.1, for the end-to-end
test and the measuring scripts: caltrix-feed with tokens and a state folder,
and Prometheus with its own configuration and storage."""

import json
import os
import subprocess
import tempfile
import time
import urllib.error
import urllib.request

from harness import free_port, stop_process

PROMETHEUS_FILES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "prometheus")


def request(url, token=None, method="GET", body=None, content_type=None, timeout=10):
    """(status, body bytes) of one HTTP request; status 0 when there is no answer."""
    req = urllib.request.Request(url, data=body, method=method)
    if token:
        req.add_header("Authorization", "Bearer " + token)
    if content_type:
        req.add_header("Content-Type", content_type)
    try:
        with urllib.request.urlopen(req, timeout=timeout) as answer:
            return answer.status, answer.read()
    except urllib.error.HTTPError as error:
        return error.code, error.read()
    except (urllib.error.URLError, OSError):
        return 0, b""


def write_secret(folder, name, value):
    path = os.path.join(folder, name)
    with open(os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600), "w") as f:
        f.write(value + "\n")
    return path


class Process:
    """A server in a session of its own, stopped with its whole group."""

    def __init__(self, command, log_path, env=None):
        self.log_path = log_path
        self.log = open(log_path, "w")
        self.process = subprocess.Popen(command, stdout=self.log, stderr=subprocess.STDOUT, env=env,
                                        start_new_session=True)

    def alive(self):
        return self.process.poll() is None

    def log_text(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def wait_ready(self, url, what, timeout):
        deadline = time.time() + timeout
        while request(url)[0] != 200:
            if time.time() > deadline or not self.alive():
                raise RuntimeError("%s did not start:\n%s" % (what, self.log_text()))
            time.sleep(0.2)

    def stop(self):
        stop_process(self.process, group=True)
        self.log.close()


class Feed(Process):
    """caltrix-feed --demo with a fleet token, an operator token and a state folder."""

    FLEET_TOKEN = "fleet-e2e-4e1f0c"
    OPERATOR_TOKEN = "operator-e2e-9a2b7d"

    def __init__(self, program, root, extra=(), operator_token=True):
        self.port = free_port()
        self.base = "http://127.0.0.1:%d" % self.port
        self.fleet_token_file = write_secret(root, "fleet-token", self.FLEET_TOKEN)
        self.operator_token_file = write_secret(root, "operator-token", self.OPERATOR_TOKEN)
        self.state = os.path.join(root, "state")
        operator = ["--operator-token-file", self.operator_token_file] if operator_token else []
        super().__init__([program, "--demo", "--listen", "127.0.0.1:%d" % self.port, "--state", self.state,
                          "--fleet-token-file", self.fleet_token_file] + operator + list(extra),
                         os.path.join(root, "caltrix-feed.log"))
        self.wait_ready(self.base + "/feed/status", "caltrix-feed", 20)

    def operator(self, path):
        return request(self.base + path, self.OPERATOR_TOKEN)

    def screens(self):
        status, body = self.operator("/feed/screens/")
        return json.loads(body)["screens"] if status == 200 else []


class Prometheus(Process):
    """Debian's Prometheus on 127.0.0.1 with the shipped scrape configuration
    and rules, rendered with the intervals and thresholds of a test."""

    def __init__(self, root, feed, interval="1s", rules_edit=lambda text: text):
        self.port = free_port()
        self.base = "http://127.0.0.1:%d" % self.port
        with open(os.path.join(PROMETHEUS_FILES, "caltrix-alerts.yml")) as f:
            rules = rules_edit(f.read())
        rules_path = os.path.join(root, "caltrix-alerts.yml")
        with open(rules_path, "w") as f:
            f.write(rules)
        with open(os.path.join(PROMETHEUS_FILES, "prometheus.yml")) as f:
            config = f.read()
        config = (config.replace("scrape_interval: 30s", "scrape_interval: " + interval)
                  .replace("evaluation_interval: 30s", "evaluation_interval: " + interval)
                  .replace("/usr/share/caltrix/prometheus/caltrix-alerts.yml", rules_path)
                  .replace("/etc/caltrix/operator-token", feed.operator_token_file)
                  .replace('"localhost:8080"', '"127.0.0.1:%d"' % feed.port)
                  .replace('"localhost:9093"', '"127.0.0.1:%d"' % free_port()))
        config_path = os.path.join(root, "prometheus.yml")
        with open(config_path, "w") as f:
            f.write(config)
        self.storage = tempfile.mkdtemp(prefix="prometheus-", dir=root)
        super().__init__(["prometheus", "--config.file=" + config_path, "--storage.tsdb.path=" + self.storage,
                          "--web.listen-address=127.0.0.1:%d" % self.port], os.path.join(root, "prometheus.log"))
        self.wait_ready(self.base + "/-/ready", "Prometheus", 30)

    def api(self, path):
        status, body = request(self.base + "/api/v1/" + path)
        return json.loads(body)["data"] if status == 200 else None

    def firing(self, alert):
        """The labels of every firing alert of that name."""
        data = self.api("alerts") or {"alerts": []}
        return [a["labels"] for a in data["alerts"] if a["labels"].get("alertname") == alert and a["state"] == "firing"]
