#!/usr/bin/python3
"""Three real screens through one caltrix-feed, and the operator's page in
headless Chromium: a live screen, one made stale (the site it takes its page
from stops, so its cycles fail for longer than --stale-after) and one
stopped, which goes silent 3 minutes after its last report. Takes the
screenshots once the page shows the three states (about 4 minutes).

Usage: scripts/fleet_screenshot.py BUILD/bin/Caltrix BUILD/bin/caltrix-feed [OUT.png [PHONE.png]]
"""

import os
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

import harness  # noqa: E402
from monitoring import Feed  # noqa: E402
from harness import wait_for  # noqa: E402

TIME_SCALE = 0.2


def screenshot(url, out, size, root):
    profile = tempfile.mkdtemp(prefix="chromium-", dir=root)
    subprocess.run(["/usr/bin/chromium", "--headless", "--no-sandbox", "--disable-gpu",
                    "--disable-background-networking", "--disable-component-update", "--disable-sync",
                    "--no-first-run", "--hide-scrollbars", "--user-data-dir=" + profile,
                    "--virtual-time-budget=8000", "--window-size=" + size, "--screenshot=" + os.path.abspath(out),
                    url], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
    print("screenshot:", out)


def main():
    caltrix, feed_program = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    out = sys.argv[3] if len(sys.argv) > 3 else "docs/screens.png"
    phone = sys.argv[4] if len(sys.argv) > 4 else "docs/screens-phone.png"
    with harness.temporary_folder("caltrix-fleet-shot-") as root:
        take_screenshots(caltrix, feed_program, out, phone, root)
    return 0


def take_screenshots(caltrix, feed_program, out, phone, root):
    # The operator's page on loopback, without a token, for the browser.
    feed = Feed(feed_program, root, operator_token=False)
    # The site of one screen, stopped later to make that screen stale.
    os.makedirs(os.path.join(root, "site"))
    other_site = Feed(feed_program, os.path.join(root, "site"), operator_token=False)
    screens = []
    try:
        def start(name, site, stale_after="180"):
            screens.append(harness.Program(caltrix, [
                "--score-site", site.base, "--config-endpoint", site.base, "--report", feed.base,
                "--screen-name", name, "--fleet-token-file", feed.fleet_token_file, "--report-picture", "60",
                "--stale-after", stale_after], time_scale=TIME_SCALE))
        start("bar-harbour", feed)
        start("club-north", other_site, stale_after="100")  # 20 s at this time scale
        start("corner-pub", feed)

        def pictured():
            return len([s for s in feed.screens() if s["picture"]]) == 3
        wait_for(pictured, 120, "three screens with their pictures", interval=1)
        print("three screens with pictures")
        other_site.stop()  # club-north's site is gone: its cycles fail
        screens[2].stop()  # corner-pub is switched off
        print("corner-pub stopped at", time.strftime("%H:%M:%S"))

        def states():
            return {s["name"]: s["state"] for s in feed.screens()}
        wanted = {"bar-harbour": "live", "club-north": "stale", "corner-pub": "silent"}
        wait_for(lambda: states() == wanted, 240, "live, stale and silent screens", interval=2)
        print("states:", states(), "at", time.strftime("%H:%M:%S"))
        screenshot(feed.base + "/screens", out, "1280,1000", root)
        screenshot(feed.base + "/screens", phone, "412,1400", root)
    finally:
        for screen in screens:
            screen.stop()
        other_site.stop()
        feed.stop()


if __name__ == "__main__":
    sys.exit(main())
