#!/usr/bin/env bash
# Makes dist/zelvo-VERSION-windows-x86_64.zip: zelvo.exe, cross-built for 64-bit Windows against
# a static Qt (scripts/build-qt-windows.sh, cached after its first run) and stripped, with a short
# text on what it is. Installs what is needed first.
#   scripts/package-windows.sh [BUILD_DIR]      (default: build/win, the one scripts/test-wine.sh tests)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win}
bash scripts/install-deps.sh run windows > /dev/null
qt=$(bash scripts/build-qt-windows.sh | tail -n 1)
ZELVO_QT_PREFIX="$qt" cmake --preset windows -B "$build" > /dev/null
cmake --build "$build" --target zelvo
mkdir -p dist
cpack --config "$build/CPackConfig.cmake" -B "$PWD/dist" > /dev/null
rm -rf dist/_CPack_Packages
ls dist/zelvo-*-windows-x86_64.zip
