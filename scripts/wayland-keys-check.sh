#!/usr/bin/env bash
# Checks keys, clicks and the single-panel window in a Wayland session: the
# display runs as a native Wayland client under cage, as an unprivileged user,
# at --scale fit on a 1920x1080 output, and grim screenshots show each step:
# F5 starts a cycle; F1 shows the about box and Esc takes it away; a click on
# a panel shows the single-panel window alone and a click there brings the
# display back; Esc ends the program.
# cage's headless output has no keyboard or pointer and is always 1280x720.
# Here cage's output is a window on Xvfb instead (wlroots' X11 backend), sized
# to 1920x1080 before the display starts: cage then takes Xvfb's keyboard and
# pointer as its own, which xdotool drives, as a kiosk's USB keyboard would.
# Usage: scripts/wayland-keys-check.sh [PROGRAM [SHOT.png]] (default:
# build/bin/Caltrix; SHOT keeps the screenshot of the display at 1920x1080)
set -euo pipefail
cd "$(dirname "$0")/.."
check="Wayland keys check"
source scripts/display-check-lib.sh
session_begin "${1:-build/bin/Caltrix}"
keep=${2:-}
screen=1920x1080

source scripts/xvfb-lib.sh
xvfb_start 1920x1080 || fail "Xvfb did not start"
session_pids+=("$xvfb_pid")
# cage runs as the check user: that user must reach the display first.
eventually 10 session_env DISPLAY="$DISPLAY" xdpyinfo >/dev/null 2>&1 ||
  fail "the display's user cannot open Xvfb's display $DISPLAY"
# The display starts once the file go exists, so that --scale fit measures
# the output at its final size.
session_cage DISPLAY="$DISPLAY" WLR_BACKENDS=x11 -- -d -- \
  sh -c 'until [ -e "$0" ]; do sleep 0.1; done; exec "$@"' "$work/go" "$program" --scale fit
cage_window() { xwininfo -root -children | awk '/ 1024x768\+/ {print $1}' | grep .; }
eventually 10 cage_window >/dev/null || fail "cage opened no window"
xdotool windowsize "$(cage_window)" 1920 1080
touch "$work/go"
# Without a window manager the keyboard goes to the window under the pointer.
xdotool mousemove 960 540

eventually 60 every_slot_filled || fail "not every slot was filled within a minute"
factor=$(fitted_scale)
[ "$factor" = 1.42 ] || fail "scale ${factor:-none} fitted to the output, not 1.42"
# Right after the first cycle the timer's next one is seconds away.
before=$(cycles); xdotool key F5
eventually 2 more_cycles_than "$before" || fail "F5 started no cycle"
echo "scale $factor fits the 1920x1080 output; F5 starts a cycle"

probe() { python3 scripts/probe_display.py --scale "$factor" "$@" >"$work/probe"; }
shows() {  # shows SHOT WHAT [EARLIER_SHOT]: a new screenshot SHOT shows WHAT
  local name=$1 what=$2
  shot "$name.png" && probe "$what" ${3:+"$work/$3.png"} "$work/$name.png"
}
eventually 3 shows display display || fail "the display is not shown: $(cat "$work/probe")"
[ -z "$keep" ] || cp "$work/display.png" "$keep"

# cage minimises nothing: after "_" the display comes back whole by itself.
click_design 643 10
eventually 10 grep -q 'not minimised; it is shown again' "$work/log" || fail '"_" left the window minimised'
eventually 5 shows restored display || fail "\"_\" left the display partly drawn: $(cat "$work/probe")"
echo '"_": cage minimises nothing, and the display is drawn whole again'

xdotool key F1
eventually 3 shows about about display || fail "F1 showed no about box: $(cat "$work/probe")"
xdotool key Escape
eventually 3 shows closed no-about display || fail "Esc did not close the about box: $(cat "$work/probe")"
kill -0 "$cage" || fail "Esc in the about box ended the program"
echo "F1 shows the about box, Esc closes it"

click_design 511 490  # slot 7's title
eventually 3 shows solo solo || fail "a panel click did not show the single-panel window alone: $(cat "$work/probe")"
# cage puts the window at the top left; its title is near its top.
read -r x y < <(python3 -c "print(round(167 * $factor), round(16 * $factor))")
xdotool mousemove "$x" "$y"; sleep 0.3; xdotool click 1
eventually 3 shows back display || fail "a click on the single panel did not bring the display back: $(cat "$work/probe")"
before=$(cycles); xdotool key F5
eventually 2 more_cycles_than "$before" || fail "F5 after the single-panel window started no cycle"
echo "a panel click shows the single-panel window, a click there brings the display back, keys still work"

xdotool key Escape
eventually 5 bash -c "! kill -0 $cage 2>/dev/null" || fail "Esc did not end the program"
echo "Esc ends the program and with it cage; Wayland keys check passed"
