#!/usr/bin/env bash
# Builds the Debian package, checks its contents and dependencies, installs
# it, starts the installed program on its demo feed until every slot shows
# matches, and removes the package again. Needs root (dpkg) and a build in
# build/ configured with the /usr prefix (scripts/test.sh does that).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --build build -j"${JOBS:-2}" --target package >/dev/null 2>&1
deb=$(ls build/caltrix_*_amd64.deb)
echo "package: $deb"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/Caltrix ./usr/share/caltrix/lumetra.htm \
            ./usr/share/caltrix/Test1.htm ./usr/share/caltrix/Pallone.htm ./usr/share/caltrix/MaskMenuVuotoNew.jpg \
            ./usr/share/caltrix/panels/slot1.json ./usr/share/caltrix/panels/solo.json \
            ./usr/lib/systemd/user/caltrix.service ./etc/xdg/autostart/caltrix.desktop \
            ./usr/share/caltrix/prometheus/prometheus.yml ./usr/share/caltrix/prometheus/caltrix-alerts.yml \
            ./usr/share/caltrix/prometheus/caltrix-alerts.test.yml; do
  grep -qxF "$file" <<<"$contents" || { echo "package lacks $file"; exit 1; }
done
grep -qE '^./usr/lib/(x86_64-linux-gnu/)?caltrix/libPannello.so$' <<<"$contents" || { echo "package lacks the panel library"; exit 1; }
if grep -q '^./usr/include' <<<"$contents"; then echo "package holds development headers"; exit 1; fi
depends=$(dpkg-deb -f "$deb" Depends)
for dependency in libqt6webenginewidgets6 libqt6webenginecore6-bin libqt6network6 libqt6widgets6 fonts-dejavu-core fonts-liberation; do
  grep -q "$dependency" <<<"$depends" || { echo "package does not depend on $dependency"; exit 1; }
done
unit=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/lib/systemd/user/caltrix.service)
for line in 'ExecStart=/usr/bin/Caltrix' 'Restart=on-failure' 'StartLimitBurst='; do
  grep -q "^$line" <<<"$unit" || { echo "service unit lacks $line"; exit 1; }
done
# The autostart entry starts the unit, never a second program beside it.
autostart=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./etc/xdg/autostart/caltrix.desktop | grep '^Exec=')
grep -q 'systemctl --user start caltrix.service' <<<"$autostart" && ! grep -q 'Caltrix ' <<<"$autostart" ||
  { echo "autostart entry does not just start the unit: $autostart"; exit 1; }

source scripts/xvfb-lib.sh
work=$(mktemp -d)
cleanup() {
  kill "${pid:-}" 2>/dev/null || true
  xvfb_stop
  dpkg -r caltrix >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
dpkg -i "$deb" >/dev/null
xvfb_start 1280x1024
QTWEBENGINE_DISABLE_SANDBOX=1 \
  /usr/bin/Caltrix --demo --time-scale 0.1 --program-folder "$work/program" --status-file "$work/status.json" \
  >"$work/log" 2>&1 &
pid=$!
# Every slot holds matches once the first cycles and a full loader pass are done.
for _ in $(seq 1 120); do
  if python3 scripts/every_slot_filled.py "$work/status.json"; then
    echo "installed program runs: every slot shows matches"
    exit 0
  fi
  kill -0 "$pid" 2>/dev/null || { echo "installed program ended"; cat "$work/log"; exit 1; }
  sleep 1
done
echo "installed program did not fill every slot within 120 s"; tail -20 "$work/log"; exit 1
