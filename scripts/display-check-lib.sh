# shellcheck shell=bash disable=SC2154  # check, factor and screen come from the sourcing script
# Helpers shared by the screen checks (kiosk-check.sh, wayland-check.sh,
# wayland-keys-check.sh), sourced by them. The sourcing script sets `check`
# (its name for failures) and `work` (its work folder, with the program's log
# in $work/log) or calls session_begin, which sets both up for a Wayland run.

# The log's last lines, less Qt WebEngine's start-up settings and cage's
# repeated notes that it composes frames itself.
fail() {
  echo "$check FAILED: $*"
  grep -v '^ *\*\|^$\|Basic output test failed' "$work/log" | tail -8
  exit 1
}
eventually() {  # eventually SECONDS COMMAND...: true once COMMAND succeeds
  local tries=$(($1 * 10)); shift
  for _ in $(seq 1 "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
cycles() { grep -c ' started' "$work/log" || true; }
more_cycles_than() { [ "$(cycles)" -gt "$1" ]; }
# A click at a point of the design, given in design pixels, as a screen of
# $screen (WIDTHxHEIGHT) shows it at the fitted scale $factor: centred, scaled
# by Qt from 1 up, laid out smaller below.
click_design() {
  read -r x y < <(python3 scripts/probe_display.py --scale "$factor" point "$screen" "$1" "$2")
  xdotool mousemove "$x" "$y"; sleep 0.3; xdotool click 1
}

# The user caltrix-check, created when missing, that runs the display under
# cage for root (also for scripts/measure_display.py --cage).
check_user() {
  id caltrix-check >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin caltrix-check
}
# Sets up a Wayland run of PROGRAM: a work folder, and, when run as root, the
# user caltrix-check (created when missing) to run it, since cage refuses to
# run as root. Sets work, runtime (the user's XDG_RUNTIME_DIR), program and
# session_pids (what session_end ends on exit).
session_begin() {
  program=$(realpath "$1")
  work=$(mktemp -d)
  chmod 755 "$work"
  session_pids=()
  trap session_end EXIT
  as_user=()
  if [ "$(id -u)" -eq 0 ]; then
    check_user
    chown caltrix-check: "$work"
    as_user=(setpriv --reuid=caltrix-check --regid=caltrix-check --init-groups --reset-env --)
  fi
  runtime="$work/runtime"
  session_command=("${as_user[@]}" env HOME="$work" XDG_RUNTIME_DIR="$runtime" PATH=/usr/bin:/bin)
  "${as_user[@]}" mkdir -m 700 "$runtime"
  # A checkout under a private folder (root's home, say) is out of the user's
  # reach: it then runs a copy of the program with its library and shipped files.
  if ! "${as_user[@]}" test -x "$program"; then
    local from
    from=$(dirname "$program")
    mkdir "$work/bin"
    cp -a "$program" "$from/libPannello.so" "$from/lumetra.htm" "$from/Test1.htm" "$from/Pallone.htm" \
      "$from/MaskMenuVuotoNew.jpg" "$from/panels" "$work/bin/"
    chmod -R a+rX "$work/bin"
    program="$work/bin/$(basename "$program")"
  fi
}
session_end() {
  local pid
  for pid in "${session_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${session_pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
# Runs a command as the session's user, in its environment.
session_env() { "${session_command[@]}" "$@"; }
# Runs the display, native on Wayland, under cage with the given options and
# environment: session_cage [VAR=VALUE...] -- [CAGE OPTION...] -- [PROGRAM ARG...]
session_cage() {
  local settings=() cage_options=()
  while [ "$1" != -- ]; do settings+=("$1"); shift; done; shift
  while [ "$1" != -- ]; do cage_options+=("$1"); shift; done; shift
  # Started directly, not through a function, so that $! is cage itself.
  "${session_command[@]}" "${settings[@]}" WLR_RENDERER=pixman QT_QPA_PLATFORM=wayland cage "${cage_options[@]}" -- "$@" \
    --demo --time-scale 0.25 --program-folder "$work/program" --status-file "$work/status.json" >"$work/log" 2>&1 &
  cage=$!
  session_pids+=("$cage")
}
# A screenshot of cage's output by grim, as $work/NAME.
shot() {
  local socket
  socket=$(find "$runtime" -maxdepth 1 -name 'wayland-[0-9]' -printf '%f\n' | head -1)
  session_env WAYLAND_DISPLAY="$socket" grim "$work/$1"
}
every_slot_filled() { python3 scripts/every_slot_filled.py "$work/status.json"; }
# The scale factor that --scale fit chose, from the program's log.
fitted_scale() { grep -o 'scale [0-9.]* fits' "$work/log" | awk '{print $2; exit}'; }
