#!/usr/bin/env bash
# Installs the Debian 12 packages Zelvo needs to build, test and run.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  qt6-base-dev qt6-base-dev-tools libgl-dev \
  libmount-dev libxrandr-dev libx11-dev libxcb1-dev \
  googletest libgtest-dev libgmock-dev libbenchmark-dev \
  nlohmann-json3-dev \
  g++-mingw-w64-x86-64-posix wine wine64 \
  fonts-ipafont-gothic fonts-ipafont-mincho \
  xvfb xauth x11-xserver-utils python3 \
  qt6-wayland weston imagemagick qt6-translations-l10n \
  desktop-file-utils appstream dbus-daemon \
  dpkg-dev
# issue 20, the reports' tests and benchmark (scripts/test-reports.sh, scripts/test-ansible.sh, bench/reports.sh):
$SUDO apt-get install -y --no-install-recommends python3-jsonschema xclip xdotool ansible-core lshw inxi
