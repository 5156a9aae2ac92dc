#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Caltrix needs.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake pkg-config clang clang-format libclang-rt-14-dev
  # Qt 6 from Debian: widgets, web engine, network, HTTP server, tests
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-httpserver-dev
  libqt6opengl6-dev libgl-dev
  # the feed server's HTTP
  libmicrohttpd-dev
  # fleets: nginx in front of the feed server, its pub/sub module, Redis between nginx servers
  nginx libnginx-mod-nchan redis-server
  # the fleet on the feed server: JSON, schema checks, Prometheus's text format;
  # Prometheus and promtool for its tests, Chromium for pictures of its page
  nlohmann-json3-dev libvalijson-dev prometheus-cpp-dev prometheus chromium
  # whether an X display has a window manager
  libxcb1-dev
  # systemd watchdog notification
  libsystemd-dev
  # tests and benchmarks
  googletest libgtest-dev libbenchmark-dev
  # headless display, screenshots, key and click checks, fonts standing in for Verdana, Courier New, Times New Roman
  xvfb xauth x11-utils imagemagick xdotool fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  # Wayland kiosk: the compositor (which needs Xwayland to start), screenshots, Qt's Wayland platform
  cage xwayland grim qt6-wayland
  # Qt HTTP server's CMake files ask for Qt WebSockets', which its package does not pull in
  qt6-websockets-dev
  # scripts and packaging
  python3 python3-jsonschema dpkg-dev file procps curl
  # the arm64 package: cross compilers and user-mode emulation (not crossbuild-essential-arm64,
  # whose dpkg-cross would upgrade this machine's perl; the arm64 libraries go into a sysroot)
  g++-aarch64-linux-gnu qemu-user-static ccache
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
else
  echo "setup: all packages present"
fi
