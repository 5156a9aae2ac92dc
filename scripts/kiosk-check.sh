#!/usr/bin/env bash
# Checks the display as a kiosk runs it: under Xvfb with no window manager,
# scaled to fit the screen, it takes the keyboard by itself; F5, F1 and Esc
# work; a click on a panel shows the single-panel window and a click there
# brings the main window back, both landing where they are drawn.
# Usage: scripts/kiosk-check.sh [PROGRAM [WIDTHxHEIGHT]] (default:
# build/bin/Caltrix on 1920x1080, which Qt scales up; 1280x720 has the program
# shrink its own layout)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/bin/Caltrix}
screen=${2:-1920x1080}
check="kiosk check"
source scripts/display-check-lib.sh
source scripts/xvfb-lib.sh
work=$(mktemp -d)
cleanup() { kill "${pid:-}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"; }
trap cleanup EXIT
xvfb_start "$screen"
QT_QPA_PLATFORM=xcb QTWEBENGINE_DISABLE_SANDBOX=1 "$program" --demo --scale fit --time-scale 0.25 --program-folder "$work/program" \
  >"$work/log" 2>&1 &
pid=$!

solo_shown() { xdotool search --onlyvisible --name '^Lumetra$' >/dev/null 2>&1; }
main_shown() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -qx "$main"; }
windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
windows_are() { [ "$(windows)" -eq "$1" ]; }

eventually 30 grep -q 'slot files' "$work/log" || fail "no cycle finished"
factor=$(fitted_scale)
[ -n "$factor" ] || fail "no scale was fitted"
# The keyboard's window, once it is one of the display's (the window is shown
# and takes the keyboard a moment after the first cycle may have ended).
has_keyboard() { main=$(xdotool getwindowfocus 2>/dev/null) && [ "$(xdotool getwindowpid "$main" 2>/dev/null)" = "$pid" ]; }
eventually 10 has_keyboard || fail "the display does not have the keyboard"
echo "scale $factor; the display has the keyboard"

before=$(cycles); xdotool key F5
eventually 2 more_cycles_than "$before" || fail "F5 started no cycle"
echo "F5 starts a cycle"

shown=$(windows); xdotool key F1
eventually 3 windows_are $((shown + 1)) || fail "F1 showed no about box"
xdotool key Escape
eventually 3 windows_are "$shown" || fail "Esc did not close the about box"
kill -0 "$pid" || fail "Esc in the about box ended the program"
echo "F1 shows the about box, Esc closes it"

# "_": nothing here can minimise the window, so it stays, drawn whole.
click_design 643 10
eventually 5 grep -q 'no window manager can minimise' "$work/log" || fail '"_" was not seen'
sleep 3
# Three shots: the ticker scrolls blank between its turns.
for shot in a b c; do import -window root "$work/$shot.png"; sleep 2; done
python3 scripts/probe_display.py --scale "$factor" display "$work"/{a,b,c}.png || fail '"_" left the display partly drawn'
has_keyboard || fail 'the display lost the keyboard after "_"'
echo '"_" with no window manager: the display stays drawn whole, with the keyboard'

click_design 511 490  # slot 7's title
eventually 3 solo_shown || fail "a panel click showed no single-panel window"
main_shown && fail "the main window stayed shown"
sleep 1
main_shown && fail "the main window came back by itself"
# The single-panel panel's title, near the bottom-left corner.
read -r x y < <(xdotool search --onlyvisible --name '^Lumetra$' getwindowgeometry | awk '
  /Position/ {split($2, p, ","); px = p[1]; py = p[2]} /Geometry/ {split($2, g, "x"); print px + g[1] / 2, py + g[2] / 6}')
xdotool mousemove "$x" "$y"; sleep 0.3; xdotool click 1
eventually 3 main_shown || fail "a click on the single panel did not bring the main window back"
solo_shown && fail "the single-panel window stayed shown"
before=$(cycles); xdotool key F5
eventually 2 more_cycles_than "$before" || fail "F5 after the single-panel window started no cycle"
echo "a panel click shows the single-panel window, a click there comes back, keys still work"

xdotool key Escape
eventually 3 bash -c "! kill -0 $pid 2>/dev/null" || fail "Esc did not end the program"
wait "$pid" && echo "Esc ends the program (status 0); kiosk check passed" || fail "Esc ended the program with status $?"
