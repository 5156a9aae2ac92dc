#!/usr/bin/env bash
# Checks the display as a Wayland kiosk runs it: under cage with a headless
# 1280x720 output (software rendering, no input devices), as an unprivileged
# user, as a native Wayland client on its demo feed. Once every slot shows
# matches it takes two screenshots with grim, two seconds apart, and probes
# their pixels: text in every panel, the main browser's start page, and a
# clock that moves.
# The output is turned by 180 degrees (-r -r), which grim turns back. Upright,
# cage 0.1.4 hands the full-screen window's own buffer to the headless output
# (direct scan-out); a screenshot request stops that for its frame, and cage
# then draws only the last changes into a picture it has not drawn since, so
# grim gets a black screen with a few recent updates. A turned output cannot
# take the window's buffer, so cage draws every frame itself.
# The design runs at its own size, at the top left: the output is lower than
# the design (760 pixels), and Qt clips widgets at scales below 1 (on X11 too).
# Run as root, it runs the display as the user caltrix-check (created when
# missing), since cage refuses to run as root.
# Usage: scripts/wayland-check.sh [PROGRAM [SHOT.png]] (default: build/bin/Caltrix;
# SHOT keeps the first screenshot)
set -euo pipefail
cd "$(dirname "$0")/.."
check="Wayland check"
source scripts/display-check-lib.sh
session_begin "${1:-build/bin/Caltrix}"
keep=${2:-}

session_cage WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 -- -d -r -r -- "$program"
for _ in $(seq 1 60); do
  every_slot_filled && break
  kill -0 "$cage" 2>/dev/null || fail "cage ended before every slot was filled"
  sleep 1
done
every_slot_filled || fail "not every slot was filled within a minute"
sleep 2
shot a.png
sleep 2
shot b.png
[ -z "$keep" ] || cp "$work/a.png" "$keep"
# The design at the top left at its own size; the output cuts off its last 40 rows.
python3 scripts/probe_display.py display "$work/a.png" "$work/b.png" || fail "the screenshots do not show the display"
echo "under cage, native Wayland, design size: every panel shows text, the main browser its start page, the clock moves; Wayland check passed"
