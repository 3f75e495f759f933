#!/usr/bin/env bash
# Cross-builds the libraries without widgets and their tests for 64-bit Windows (MinGW-w64) and
# runs them under Wine, once in each family: a fresh throwaway prefix as Wine makes it (the NT
# family), then one switched to Windows 98 (the 9x family) in a Japanese locale (code page 932).
# Expects the packages of scripts/install-deps.sh. Build directory: build/win (or $1).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win}

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Debug -DZELVO_WERROR=ON
cmake --build "$build"

export WINEDEBUG=-all
# No Mono or Gecko: their installers would ask with a dialog.
export WINEDLLOVERRIDES="mscoree,mshtml="
prefix=""
scratch=""

stop_wine() {
  if [ -n "$prefix" ]; then
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
  fi
}
cleanup() {
  stop_wine
  [ -n "$prefix" ] && rm -rf "$prefix"
  [ -n "$scratch" ] && rm -rf "$scratch"
  prefix=""
  scratch=""
}
trap cleanup EXIT

# The drive layout the tests expect (tests/support/WineMachine.h).
lay_out_drives() {
  scratch=$(mktemp -d)
  mkdir -p "$scratch/floppy" "$scratch/cdrom" "$scratch/network"
  ln -sfn "$scratch/floppy" "$prefix/dosdevices/a:"
  ln -sfn "$scratch/cdrom" "$prefix/dosdevices/d:"
  ln -sfn "$scratch/network" "$prefix/dosdevices/e:"
  printf 'SYSTEM\n' > "$prefix/drive_c/.windows-label"
  printf '1A2B3C4D\n' > "$prefix/drive_c/.windows-serial"
  wine reg add 'HKLM\Software\Wine\Drives' /v a: /d floppy /f > /dev/null
  wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f > /dev/null
  wine reg add 'HKLM\Software\Wine\Drives' /v e: /d network /f > /dev/null
}

run_family() {
  local family=$1
  echo "== Windows tests under Wine, $family family${2:+, locale $2}"
  # Wine takes its code page from the locale's name; the C library need not have the locale.
  if [ -n "${2:-}" ]; then { export LC_ALL=$2; } 2> /dev/null; fi
  prefix=$(mktemp -d)
  export WINEPREFIX="$prefix"
  # Making the prefix starts the Wine server and its services.
  wine cmd /c exit > /dev/null 2>&1 || true
  lay_out_drives
  if [ "$family" = 9x ]; then
    wine reg add 'HKCU\Software\Wine' /v Version /d win98 /f > /dev/null
  fi
  # The drive manager reads its settings when it starts: start everything again, and keep the
  # server running between the test programs (otherwise each one waits for it to start and stop).
  stop_wine
  wineserver -p
  wine cmd /c exit > /dev/null 2>&1 || true
  ZELVO_WINE_FAMILY=$family ctest --test-dir "$build" --output-on-failure
  cleanup
  if [ -n "${2:-}" ]; then { unset LC_ALL; } 2> /dev/null; fi
}

run_family nt
run_family 9x ja_JP.UTF-8
