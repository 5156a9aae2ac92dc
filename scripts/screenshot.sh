#!/usr/bin/env bash
# Takes the README's screenshot from a real run: starts the display on its
# demo feed (or the --feed among the options) under Xvfb on a 1920x1080
# screen, scaled to fit, waits until every slot shows matches, and saves a
# picture of the screen.
# Usage: scripts/screenshot.sh [OUTPUT.png [WIDTHxHEIGHT [PROGRAM OPTIONS...]]]
# (default: --scale fit); e.g. scripts/screenshot.sh /tmp/design.png 1024x768 --demo for the
# design size. CALTRIX names the program (default: build/bin/Caltrix); GOAL=1 waits
# until a slot holds a goal as well.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
screen=${2:-1920x1080}
shift $(($# < 2 ? $# : 2))
options=("$@")
[ ${#options[@]} -gt 0 ] || options=(--scale fit)
feed=(--demo --time-scale 0.25)
for option in "${options[@]}"; do [ "$option" != --feed ] || feed=(); done
source scripts/xvfb-lib.sh
work=$(mktemp -d)
cleanup() { kill "${pid:-}" 2>/dev/null || true; xvfb_stop; rm -rf "$work"; }
trap cleanup EXIT
xvfb_start "$screen"
QTWEBENGINE_DISABLE_SANDBOX=1 "${CALTRIX:-build/bin/Caltrix}" "${feed[@]}" \
  --program-folder "$work/program" --status-file "$work/status.json" "${options[@]}" >"$work/log" 2>&1 &
pid=$!
goal=()
[ "${GOAL:-0}" != 1 ] || goal=(--goal)
for _ in $(seq 1 600); do
  if python3 scripts/every_slot_filled.py "$work/status.json" "${goal[@]}"; then
    sleep 2
    import -window root "$out"
    echo "saved $out"
    exit 0
  fi
  sleep 1
done
echo "the display did not fill every slot in time"; tail -5 "$work/log"; exit 1
