#!/usr/bin/env bash
# Installs what the build, the program and the tests need on Debian 12, when anything is missing.
set -euo pipefail
packages=(
  cmake ninja-build ccache pkg-config g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev qt6-webengine-dev libqt6opengl6-dev libxkbcommon-dev libgl-dev
  libplist-dev libicu-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-apps imagemagick dbus dbus-x11 fonts-dejavu-core
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  python3-dbusmock
  iperf
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
