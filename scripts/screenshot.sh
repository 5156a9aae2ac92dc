#!/usr/bin/env bash
# Takes the README's screenshot from a real run: starts the display on its
# demo feed under Xvfb, waits until every slot shows matches, and saves a
# picture of the screen. Usage: scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
work=$(mktemp -d)
display=:$((90 + RANDOM % 100))

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "${pid:-}" "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
sleep 1
DISPLAY=$display QTWEBENGINE_DISABLE_SANDBOX=1 build/bin/Caltrix --demo --time-scale 0.25 \
  --program-folder "$work/program" --status-file "$work/status.json" >"$work/log" 2>&1 &
pid=$!
for _ in $(seq 1 180); do
  if [ -f "$work/status.json" ] && /usr/bin/python3 -c '
import json, sys
slots = json.load(open(sys.argv[1]))["slots"]
sys.exit(0 if all(s["panel"]["title"] and s["panel"]["markup"] for s in slots) else 1)' "$work/status.json"; then
    sleep 2
    DISPLAY=$display import -window root "$out"
    echo "saved $out"
    exit 0
  fi
  sleep 1
done
echo "the display did not fill every slot in time"; tail -5 "$work/log"; exit 1
