#!/usr/bin/env bash
# Cross-builds the arm64 Debian package on an amd64 Debian 12 machine and
# checks it: contents, arm64 dependencies, every program and library an ARM
# aarch64 file, and, under user-mode emulation, caltrix-parse giving the same
# result files as this machine's build, caltrix-feed --demo answering its
# page and the plain C++ unit tests passing. Writes
# build-arm64/caltrix_<version>_arm64.deb.
#
# The arm64 libraries and headers are Debian's own arm64 packages, unpacked
# into build-arm64/sysroot by apt with a state of its own: installing them
# beside this machine's amd64 packages (dpkg multiarch) would upgrade amd64
# packages in step with them, under every other build on the machine.
#
# This machine's caltrix-parse comes from build/ (configured here when
# missing). ARM64_SKIP_BUILD=1 checks an existing package only.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-2}
out=$root/build-arm64
sysroot=$out/sysroot
apt_state=$out/apt
dpkg_db=$out/dpkg

step() { printf '\n== arm64: %s (%d s so far)\n' "$*" "$SECONDS"; }

# Headers and libraries the arm64 build links against, with everything they need.
arm64_packages=(qt6-base-dev qt6-webengine-dev qt6-httpserver-dev libqt6opengl6-dev libgl-dev
                libsystemd-dev libgtest-dev libstdc++-12-dev qt6-websockets-dev libxcb1-dev
                libmicrohttpd-dev nlohmann-json3-dev libvalijson-dev prometheus-cpp-dev)
# The unit tests that need no Qt, run under emulation.
plain_tests=(common_tests acquisition_tests display_core_tests panel_markup_tests)

apt_arm64() {
  apt-get -q -o Dir::State="$apt_state/state" -o Dir::State::status="$apt_state/status" \
    -o Dir::Cache="$apt_state/cache" -o APT::Architecture=arm64 -o APT::Architectures::=arm64 \
    -o APT::Install-Recommends=0 -o APT::Sandbox::User=root -o Debug::NoLocking=1 "$@"
}

# Unpacks packages into the sysroot, turns absolute links into links inside
# it, and adds them to a dpkg database of the sysroot (file lists, symbols
# and shlibs files) for dpkg-shlibdeps, which CPack runs for the package's
# dependencies.
unpack_into_sysroot() {
  mkdir -p "$sysroot" "$dpkg_db/info" "$dpkg_db/updates"
  printf 'arm64\n' >"$dpkg_db/arch"
  printf '1\n' >"$dpkg_db/info/format"  # file lists named package:arch
  touch "$dpkg_db/status"
  local deb name control
  control=$(mktemp -d)
  for deb in "$@"; do
    dpkg-deb -x "$deb" "$sysroot"
    name=$(dpkg-deb -f "$deb" Package)
    [ "$(dpkg-deb -f "$deb" Multi-Arch)" = same ] && name=$name:arm64
    { dpkg-deb -f "$deb" Package Version Architecture Multi-Arch Source Provides Maintainer Description; echo 'Status: install ok installed'; echo; } \
      >>"$dpkg_db/status"
    dpkg-deb -c "$deb" | awk '{print $6}' | sed -e "s|^\./|$sysroot/|" -e 's|/$||' >"$dpkg_db/info/$name.list"
    rm -rf "${control:?}"/*
    dpkg-deb -e "$deb" "$control"
    for file in symbols shlibs; do
      if [ -f "$control/$file" ]; then cp "$control/$file" "$dpkg_db/info/$name.$file"; fi
    done
    basename "$deb" >>"$sysroot/.unpacked"
  done
  rm -rf "$control"
  find "$sysroot" -type l -lname '/*' | while read -r link; do
    ln -sfnr "$sysroot$(readlink "$link")" "$link"
  done
}

if [ -z "${ARM64_SKIP_BUILD:-}" ]; then
  bash scripts/setup.sh

  step "arm64 packages into the sysroot"
  mkdir -p "$apt_state/state/lists/partial" "$apt_state/cache/archives/partial"
  touch "$apt_state/status"
  apt_arm64 update >/dev/null
  apt_arm64 install -y --download-only "${arm64_packages[@]}" >/dev/null
  # Only packages not unpacked before are unpacked (4 to 8 minutes for all
  # on a shared 2-core machine).
  new=()
  while read -r deb; do
    grep -qxF "$deb" "$sysroot/.unpacked" 2>/dev/null || new+=("$apt_state/cache/archives/$deb")
  done < <(cd "$apt_state/cache/archives" && ls -- *.deb)
  if [ "${#new[@]}" -gt 0 ]; then unpack_into_sysroot "${new[@]}"; fi

  step "cross-build"
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
  cmake -S . -B "$out" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" \
    -DCALTRIX_ARM64_SYSROOT="$sysroot" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCALTRIX_BENCH=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON "${launcher[@]}" >/dev/null
  # What the package holds, and the plain C++ programs checked below.
  cmake --build "$out" -j"$jobs" --target Caltrix Pannello caltrix-feed caltrix_data caltrix-parse "${plain_tests[@]}" \
    >"$out/build.log" 2>&1 || { tail -40 "$out/build.log"; exit 1; }

  step "package"
  rm -f "$out"/caltrix_*_arm64.deb
  (cd "$out" && DEB_HOST_ARCH=arm64 DPKG_ADMINDIR="$dpkg_db" \
     cpack -G DEB -D CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS="$sysroot/usr/lib/aarch64-linux-gnu;$sysroot/lib/aarch64-linux-gnu" \
     >cpack.log 2>&1) || { cat "$out/cpack.log"; exit 1; }
fi

step "package contents and dependencies"
deb=$(ls "$out"/caltrix_*_arm64.deb)
echo "package: $deb"
[ "$(dpkg-deb -f "$deb" Architecture)" = arm64 ] || { echo "package is not for arm64"; exit 1; }
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/Caltrix ./usr/bin/caltrix-feed ./usr/lib/aarch64-linux-gnu/caltrix/libPannello.so \
            ./usr/share/caltrix/lumetra.htm ./usr/share/caltrix/panels/slot1.json \
            ./usr/lib/systemd/user/caltrix.service ./etc/xdg/autostart/caltrix.desktop; do
  grep -qxF "$file" <<<"$contents" || { echo "package lacks $file"; exit 1; }
done
if grep -q '^./usr/include' <<<"$contents"; then echo "package holds development headers"; exit 1; fi
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
# Library dependencies found in the arm64 packages' own symbols files.
for dependency in 'libc6 (>=' 'libstdc++6 (>=' 'libqt6core6 (>=' libqt6webenginewidgets6 libqt6webenginecore6-bin \
                  libqt6network6 libqt6widgets6 libsystemd0 libmicrohttpd12 libprometheus-cpp-core1.0 \
                  fonts-dejavu-core fonts-liberation; do
  grep -qF "$dependency" <<<"$depends" || { echo "package does not depend on $dependency"; exit 1; }
done
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
elf_count=0
while read -r program; do
  description=$(file -b "$program")
  case "$description" in
    ELF*) grep -q 'ARM aarch64' <<<"$description" || { echo "not an aarch64 file: $program: $description"; exit 1; }
          elf_count=$((elf_count + 1)) ;;
  esac
done < <(find "$unpacked" -type f)
[ "$elf_count" -ge 3 ] || { echo "only $elf_count programs and libraries in the package"; exit 1; }
echo "$elf_count programs and libraries, every one ARM aarch64"

step "under emulation"
emulate=(qemu-aarch64-static -L "$sysroot")
"${emulate[@]}" "$unpacked/usr/bin/Caltrix" --version

# This machine's caltrix-parse, for the result files to compare with.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build -j"$jobs" --target caltrix-parse >/dev/null
work=$(mktemp -d)
trap 'kill "${feed:-}" 2>/dev/null || true; rm -rf "$unpacked" "$work"' EXIT
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

# The arm64 feed server on its demo day answers its page.
port=$(free_port)
"${emulate[@]}" "$unpacked/usr/bin/caltrix-feed" --demo --listen "127.0.0.1:$port" >"$work/feed.log" 2>&1 &
feed=$!
for _ in $(seq 1 60); do
  curl -sf -o "$work/demo.htm" "http://127.0.0.1:$port/default.dll?page=soccer" && break
  kill -0 "$feed" 2>/dev/null || { cat "$work/feed.log"; echo "arm64 caltrix-feed ended"; exit 1; }
  sleep 1
done
grep -q 'class=title' "$work/demo.htm" || { echo "arm64 caltrix-feed --demo did not answer its page"; exit 1; }
kill "$feed"; wait "$feed" 2>/dev/null || true
echo "caltrix-feed --demo answers its page ($(wc -c <"$work/demo.htm") bytes)"

# Both builds parse the same pages into byte-identical result files.
slots=(--slot 1='SERIEA;' --slot 2='PREMIER;SERIEB;' --slot 3='ITALY;' --slot 4='BUNDESLIGA;' --slot 5='LIGA;')
for page in tests/acquisition/fixtures/*.htm "$work/demo.htm"; do
  name=$(basename "$page")
  mkdir -p "$work/amd64-$name" "$work/arm64-$name"
  build/bin/caltrix-parse "$page" --out "$work/amd64-$name" "${slots[@]}" >/dev/null
  "${emulate[@]}" "$out/bin/caltrix-parse" "$page" --out "$work/arm64-$name" "${slots[@]}" >/dev/null
  diff -r "$work/amd64-$name" "$work/arm64-$name" || { echo "result files of $name differ"; exit 1; }
  echo "caltrix-parse: $name gives the same $(ls "$work/arm64-$name" | wc -l) result files on both"
done

for test in "${plain_tests[@]}"; do
  echo "$test: $("${emulate[@]}" "$out/bin/$test" --gtest_brief=1 | tail -1)"
done
step "arm64 package checked"
