#!/usr/bin/env bash
# Checks the display as a Wayland kiosk runs it: under cage with a headless
# 1280x720 output (software rendering, no input devices), as an unprivileged
# user, as a native Wayland client on its demo feed. Once every slot shows
# matches it takes three screenshots with grim, a second apart, and probes
# their pixels: text in every panel, link button and banner and in the
# ticker, the main browser's start page, and a clock that moves. The display
# is fitted to the output, which is smaller than the design, so the program
# lays out its design smaller itself.
# The output is turned by 180 degrees (-r -r), which grim turns back. Upright,
# cage 0.1.4 hands the full-screen window's own buffer to the headless output
# (direct scan-out); a screenshot request stops that for its frame, and cage
# then draws only the last changes into a picture it has not drawn since, so
# grim gets a black screen with a few recent updates. A turned output cannot
# take the window's buffer, so cage draws every frame itself.
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

session_cage WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 -- -d -r -r -- "$program" --scale fit
for _ in $(seq 1 60); do
  every_slot_filled && break
  kill -0 "$cage" 2>/dev/null || fail "cage ended before every slot was filled"
  sleep 1
done
every_slot_filled || fail "not every slot was filled within a minute"
factor=$(fitted_scale)
[ -n "$factor" ] || fail "no scale was fitted"
sleep 2
for name in a b c; do shot "$name.png"; sleep 1; done
[ -z "$keep" ] || cp "$work/a.png" "$keep"
python3 scripts/probe_display.py --scale "$factor" display "$work"/{a,b,c}.png ||
  fail "the screenshots do not show the display"
echo "under cage, native Wayland, fitted at scale $factor: every panel, link button and banner shows text," \
  "the ticker runs, the main browser shows its start page, the clock moves; Wayland check passed"
