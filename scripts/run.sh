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
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display found, starting under Xvfb"
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/bin/Caltrix "${args[@]}"
fi
exec build/bin/Caltrix "${args[@]}"
