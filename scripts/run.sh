#!/usr/bin/env bash
# Sets up, builds and starts the display, scaled to fill the screen.
# Arguments go to the program (default: --demo, the built-in simulated match
# day); a --scale among them wins. Without a display, it runs under a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build -j"${JOBS:-2}" --target Caltrix Pannello caltrix_data

[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
args=("$@")
[ ${#args[@]} -gt 0 ] || args=(--demo)
args=(--scale fit "${args[@]}")
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then exec build/bin/Caltrix "${args[@]}"; fi

# Under a virtual display of its own, which ends with the program, also when
# this script is ended by a signal.
echo "run: no display found, starting under Xvfb"
source scripts/xvfb-lib.sh
xvfb_start 1280x1024
build/bin/Caltrix "${args[@]}" &
program=$!
trap 'kill "$program" 2>/dev/null || true' TERM INT HUP
status=0
# A trapped signal ends the wait early: wait again until the program has ended.
while kill -0 "$program" 2>/dev/null; do wait "$program" || status=$?; done
xvfb_stop
exit "$status"
