#!/bin/sh
# Accelerated soak run of the display program against a local fault-injecting
# server: scripts/soak.sh [CYCLES] [options of tests/e2e/soak.py]
#   CYCLES   cycles to run (default 200, a few minutes; 5000 or more for a long run)
# The program is taken from $CALTRIX_BUILD/bin/Caltrix (default: build). Runs
# headless under Xvfb; prints one summary line; exits non-zero when a check
# fails.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cycles=200
case "${1:-}" in
  ''|-*) ;;
  *) cycles=$1; shift ;;
esac
build=${CALTRIX_BUILD:-$root/build}
if [ ! -x "$build/bin/Caltrix" ]; then
  echo "soak.sh: no program at $build/bin/Caltrix; build it first (target Caltrix)" >&2
  exit 2
fi
exec /usr/bin/python3 "$root/tests/e2e/soak.py" --caltrix "$build/bin/Caltrix" --cycles "$cycles" "$@"
