# shellcheck shell=bash
# A private X display for the scripts, sourced by them.

# xvfb_start WIDTHxHEIGHT: starts Xvfb on a display number it finds free
# itself (parallel runs cannot collide), returns once it takes clients, and
# exports DISPLAY; xvfb_pid is its process.
xvfb_start() {
  local number _
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$number" ] && break; sleep 0.1; done
  DISPLAY=:$(tr -d '\n' <"$number")
  rm -f "$number"
  [ "$DISPLAY" != : ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY
}

xvfb_stop() {
  [ -n "${xvfb_pid:-}" ] || return 0
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
}
