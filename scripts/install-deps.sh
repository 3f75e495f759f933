#!/usr/bin/env bash
# Installs the Debian 12 packages for what is asked, each list for one purpose:
#   scripts/install-deps.sh [run] [test] [windows] [package]      (no argument: all of them)
#   run      building and running the program (scripts/run.sh)
#   test     the test suite, the fuzz targets, the page comparisons, the validators (scripts/test.sh)
#   windows  the Windows build: MinGW-w64, Wine, the tools that unpack Qt's source
#   package  the Debian package and its clean-root check (scripts/package-deb.sh, test-clean-root.sh)
set -euo pipefail

run=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libmount-dev libxcb1-dev libxcb-randr0-dev libfontconfig-dev
  nlohmann-json3-dev
  # What the window uses when present: the Japanese fonts, Wayland, the toolkit's Japanese texts.
  fonts-ipafont-gothic fonts-ipafont-mincho qt6-wayland qt6-translations-l10n
)
test=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth x11-xserver-utils python3
  weston imagemagick
  desktop-file-utils appstream dbus-daemon man-db
  # The format check, the fuzz targets (scripts/test-fuzz.sh) and scripts/check-tidy.sh.
  clang-format clang libfuzzer-14-dev libclang-rt-14-dev clang-tidy
  # The window read through AT-SPI and used by keyboard (scripts/test-a11y.sh, the Wine check).
  at-spi2-core gir1.2-atspi-2.0 python3-gi xdotool
  # The reports checked against their schema, the clipboard, Ansible facts, the peers in the benchmark.
  python3-jsonschema xclip ansible-core lshw inxi
)
windows=(
  g++-mingw-w64-x86-64-posix wine wine64
  dpkg-dev python3
)
package=(
  debhelper dpkg-dev lintian mmdebstrap
)

purposes=("$@")
[ "${#purposes[@]}" != 0 ] || purposes=(run test windows package)
packages=()
for purpose in "${purposes[@]}"; do
  case $purpose in
    run) packages+=("${run[@]}") ;;
    test) packages+=("${test[@]}") ;;
    windows) packages+=("${windows[@]}") ;;
    package) packages+=("${package[@]}") ;;
    *) echo "install-deps: unknown purpose '$purpose' (run, test, windows, package)" >&2; exit 2 ;;
  esac
done

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${packages[@]}"
