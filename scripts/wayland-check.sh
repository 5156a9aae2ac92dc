#!/usr/bin/env bash
# Checks the display as a Wayland kiosk runs it: under cage with a headless
# 1280x720 output (software rendering, no input devices), as an unprivileged
# user, as a native Wayland client on its demo feed. Once every slot shows
# matches it takes two screenshots with grim, two seconds apart, and probes
# their pixels: text in every panel, the main browser's start page, and a
# clock that moves.
# The output is turned by 180 degrees (-r -r), which grim turns back. Upright,
# cage 0.1.4 hands the full-screen window's own buffer to the headless output
# (direct scan-out); a screenshot request stops that for its frame, and cage
# then draws only the last changes into a picture it has not drawn since, so
# grim gets a black screen with a few recent updates. A turned output cannot
# take the window's buffer, so cage draws every frame itself.
# The design runs at its own size, at the top left: the output is lower than
# the design (760 pixels), and Qt clips widgets at scales below 1 (on X11 too).
# Run as root, it runs the display as the user caltrix-check (created when
# missing), since cage refuses to run as root.
# Usage: scripts/wayland-check.sh [PROGRAM [SHOT.png]] (default: build/bin/Caltrix;
# SHOT keeps the first screenshot)
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/bin/Caltrix}")
keep=${2:-}
work=$(mktemp -d)
chmod 755 "$work"

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  id caltrix-check >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin caltrix-check
  chown caltrix-check: "$work"
  as_user=(setpriv --reuid=caltrix-check --regid=caltrix-check --init-groups --reset-env --)
fi
runtime="$work/runtime"
"${as_user[@]}" mkdir -m 700 "$runtime"
# A checkout under a private folder (root's home, say) is out of the user's
# reach: it then runs a copy of the program with its library and shipped files.
if ! "${as_user[@]}" test -x "$program"; then
  from=$(dirname "$program")
  mkdir "$work/bin"
  cp -a "$program" "$from/libPannello.so" "$from/lumetra.htm" "$from/Test1.htm" "$from/Pallone.htm" \
    "$from/MaskMenuVuotoNew.jpg" "$from/panels" "$work/bin/"
  chmod -R a+rX "$work/bin"
  program="$work/bin/$(basename "$program")"
fi

"${as_user[@]}" env HOME="$work" XDG_RUNTIME_DIR="$runtime" PATH=/usr/bin:/bin \
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  QT_QPA_PLATFORM=wayland cage -d -r -r -- "$program" --demo --time-scale 0.25 --program-folder "$work/program" \
  --status-file "$work/status.json" >"$work/log" 2>&1 &
cage=$!
cleanup() { kill "$cage" 2>/dev/null || true; wait "$cage" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

fail() { echo "Wayland check FAILED: $*"; grep -v '^ \*\|^$' "$work/log" | tail -8; exit 1; }
every_slot_filled() {
  [ -f "$work/status.json" ] && python3 -c '
import json, sys
slots = json.load(open(sys.argv[1]))["slots"]
sys.exit(0 if all(s["panel"]["title"] and s["lines"] > 0 for s in slots) else 1)' "$work/status.json"
}
shot() {
  local socket
  socket=$(find "$runtime" -maxdepth 1 -name 'wayland-[0-9]' -printf '%f\n' | head -1)
  "${as_user[@]}" env XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket" grim "$work/$1"
}

for _ in $(seq 1 60); do
  every_slot_filled && break
  kill -0 "$cage" 2>/dev/null || fail "cage ended before every slot was filled"
  sleep 1
done
every_slot_filled || fail "not every slot was filled within a minute"
sleep 2
shot a.png
sleep 2
shot b.png
[ -z "$keep" ] || cp "$work/a.png" "$keep"

# Design rectangles in pixels (twips / 15) as the screen shows them, with the
# design at the top left at its own size; the output cuts off its last 40 rows.
python3 - "$work/a.png" "$work/b.png" <<'EOF' || fail "the screenshots do not show the display"
import subprocess, sys

def pixels(path):
    data = subprocess.run(["convert", path, "ppm:-"], capture_output=True, check=True).stdout
    fields = data.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    return width, height, fields[4]

width, height, shot_a = pixels(sys.argv[1])
_, _, shot_b = pixels(sys.argv[2])

def area(x, y, w, h, margin=4):
    """Screen pixels of a design rectangle, a few pixels inside its edges."""
    x0, y0, x1, y1 = x + margin, y + margin, x + w - margin, y + h - margin
    return [(px, py) for py in range(max(y0, 0), min(y1, height)) for px in range(max(x0, 0), min(x1, width))]

def colour(shot, point):
    offset = (point[1] * width + point[0]) * 3
    return tuple(shot[offset:offset + 3])

def count(shot, points, test):
    return sum(1 for p in points if test(colour(shot, p)))

bright = lambda c: min(c) > 200 or (c[0] > 200 and c[1] > 200)  # white or yellow text
problems = []
panels = [(10170, 0, 1470), (10170, 1440, 1440), (10170, 2865, 1440), (10170, 4290, 1440), (10170, 5730, 1440),
          (150, 7155, 1485), (5160, 7170, 1470), (10170, 7170, 1470), (150, 8640, 1470), (5160, 8640, 1470),
          (10170, 8625, 1485)]
for slot, (x, y, h) in enumerate(panels, 1):
    texts = count(shot_a, area(x // 15, y // 15, 334, h // 15), bright)
    if texts < 30:
        problems.append(f"panel {slot} shows no text ({texts} bright pixels)")
page = area(9, 19, 665, 456)
texts, white = count(shot_a, page, bright), count(shot_a, page, lambda c: min(c) > 240)
green_heading = count(shot_a, page, lambda c: c[1] > 150 and c[0] < 160 and c[2] < 130)
if green_heading < 100 or texts < 300 or white > len(page) // 2:
    problems.append(f"the main browser shows no start page ({green_heading} heading, {texts} text, "
                    f"{white} white pixels of {len(page)})")
clock = area(760, 705, 232, 37, margin=0)
digits = lambda c: c[1] > 200 and c[0] < 120 and c[2] < 120
if count(shot_a, clock, digits) < 30:
    problems.append("no clock")
elif all(colour(shot_a, p) == colour(shot_b, p) for p in clock):
    problems.append("the clock did not move in two seconds: the screen is not updated")
for problem in problems:
    print(problem)
sys.exit(1 if problems else 0)
EOF
echo "under cage, native Wayland, design size: every panel shows text, the main browser its start page, the clock moves; Wayland check passed"
