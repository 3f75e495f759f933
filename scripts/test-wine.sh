#!/usr/bin/env bash
# The program on Windows, under Wine. Cross-builds Qt for Windows once (scripts/build-qt-windows.sh,
# cached), then the whole program, the snapshot tool, the libraries and their tests with MinGW-w64,
# and runs them under Wine on a private Xvfb, once in each family: a fresh throwaway prefix as Wine
# makes it (the NT family), then one switched to Windows 98 (the 9x family) in a Japanese locale
# (code page 932). In each, the window is checked as a whole (tests/app/win32/Win32WindowCheck.cpp) and its
# pages are kept as PNG files in BUILD_DIR/window-pages. In the NT prefix the number separators are
# also read in French, Russian and Swedish locales, and the snapshot tool's pages of the simulated NT
# machine are compared with Linux's (LINUX_BUILD_DIR's zelvo_snapshot).
#   scripts/test-wine.sh [BUILD_DIR [LINUX_BUILD_DIR]]     (defaults: build/win, build/test)
# Expects the packages of scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
build=${1:-build/win}
linux_build=${2:-build/test}

qt=$(bash scripts/build-qt-windows.sh | tail -n 1)
ZELVO_QT_PREFIX="$qt" cmake --preset windows -B "$build" > /dev/null
cmake --build "$build"

export WINEDEBUG=-all
# No Mono or Gecko: their installers would ask with a dialog.
export WINEDLLOVERRIDES="mscoree,mshtml="
prefix=""
scratch=""
xvfb=""

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
trap 'cleanup; [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true' EXIT

# The window needs a display; a private one, so nothing else on it stands in the way.
start_xvfb 1024x768x24 /dev/null
xvfb=$xvfb_pid
export DISPLAY=$xvfb_display

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

# Separators that Windows gives as a code-page byte: the no-break space of French, Russian and Swedish.
check_separator_locales() {
  local locale
  for locale in fr_FR.UTF-8 ru_RU.UTF-8 sv_SE.UTF-8; do
    echo "== number separators in $locale"
    LC_ALL=$locale ZELVO_WINE_LOCALE=$locale ZELVO_WINE_FAMILY=nt \
      wine "$build/tests/test_format.exe" --gtest_filter='Win32NumberSeparators.*' --gtest_brief=1
  done
}

# The simulated NT machine's pages from the snapshot tool under Wine against the same on Linux: the
# page areas (the tab strip follows each platform's style) must be the same picture once the texts
# are left out; how many text pixels still differ is told, and kept as a picture of the differences.
compare_pages() {
  local out=$build/page-comparison status=0 page name differing
  rm -rf "$out"
  mkdir -p "$out"
  for texts in with-text no-text; do
    local options=(--machine nt --area page)
    [ "$texts" = no-text ] && options+=(--no-text)
    wine "$build/tools/zelvo_snapshot.exe" "${options[@]}" --out "$out/windows-$texts" > /dev/null
    ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen \
      "$linux_build/tools/zelvo_snapshot" "${options[@]}" --out "$out/linux-$texts" > /dev/null
  done
  echo "== the simulated NT machine's page areas, Windows against Linux"
  for page in "$out"/linux-no-text/*.png; do
    name=$(basename "$page" .png)
    differing=$(differing_pixels "$page" "$out/windows-no-text/$name.png")
    if [ "$differing" != 0 ]; then
      echo "test-wine: the $name page differs outside its texts in $differing pixels" >&2
      differing_pixels "$page" "$out/windows-no-text/$name.png" "$out/$name-no-text-differences.png" > /dev/null
      status=1
    fi
    differing=$(differing_pixels "$out/linux-with-text/$name.png" "$out/windows-with-text/$name.png" \
      "$out/$name-text-differences.png")
    echo "   $name: the same outside the texts; $differing text pixels differ"
  done
  return "$status"
}

# The zip that scripts/package-windows.sh makes from this build: zelvo.exe, its text, the schema of
# its JSON document, its licence and the notices of what is linked into it (Qt under the LGPL with
# where its source is, and the parts Qt bundles), and that program starts with its window as it
# should.
check_package() {
  local dist unpacked=$scratch/package
  dist=$(realpath -m "$build/dist")
  echo "== the packaged program"
  rm -rf "$dist"
  cpack --config "$build/CPackConfig.cmake" -B "$dist" > /dev/null
  mkdir -p "$unpacked"
  (cd "$unpacked" && cmake -E tar xf "$dist"/zelvo-*-windows-x86_64.zip)
  local expected="LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt zelvo-facts.schema.json zelvo.exe " part qt_source
  if [ "$(cd "$unpacked" && ls | tr '\n' ' ')" != "$expected" ]; then
    echo "test-wine: the zip holds $(ls "$unpacked" | tr '\n' ' '), not $expected" >&2
    return 1
  fi
  grep -q "GNU GENERAL PUBLIC LICENSE" "$unpacked/LICENSE.txt" &&
    grep -q "Version 3, 29 June 2007" "$unpacked/LICENSE.txt" ||
    { echo "test-wine: LICENSE.txt is not the GPL, version 3" >&2; return 1; }
  qt_source="apt-get source qt6-base=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)"
  grep -q -F "$qt_source" "$unpacked/THIRD-PARTY-NOTICES.txt" ||
    { echo "test-wine: the notices do not name the qt6-base source zelvo.exe was built from" >&2; return 1; }
  for part in "GNU LESSER GENERAL PUBLIC LICENSE" HarfBuzz PCRE2 "(zlib)" LibPNG; do
    grep -q -F "$part" "$unpacked/THIRD-PARTY-NOTICES.txt" ||
      { echo "test-wine: the notices leave out $part" >&2; return 1; }
  done
  ZELVO_WINE_FAMILY=nt wine "$build/tests/zelvo_window_check.exe" "$unpacked/zelvo.exe" "$build/package-check" \
    --start-only
}

# zelvo.exe's reports, as a script or a person starts them: the JSON document through redirected
# output, against the schema, with the load figure on the 9x family and none on NT; the text
# report through a pipe. Kept in BUILD_DIR/reports-FAMILY.
check_reports() {
  local family=$1 out="$build/reports-$1"
  mkdir -p "$out"
  wine "$build/src/app/zelvo.exe" --json > "$out/facts.json"
  python3 - resources/zelvo-facts.schema.json "$out/facts.json" "$family" <<'PY'
import json, sys, jsonschema
schema, doc, family = json.load(open(sys.argv[1])), json.load(open(sys.argv[2])), sys.argv[3]
jsonschema.Draft202012Validator(schema).validate(doc)
assert doc['platform']['familyName'] == family, doc['platform']
assert ('load' in doc['cpu']) == (family == '9x'), doc['cpu']
assert any(d['letter'] == 'c' for d in doc['drives']), doc['drives']
print(f"test-wine: zelvo.exe --json on {family}: valid, {len(doc['drives'])} drives, cpu {doc['cpu'].get('load')}")
PY
  wine "$build/src/app/zelvo.exe" --report | cat > "$out/report.txt"
  for heading in '[ディスク]' '[メモリ]' '[CPU]' '[BIOS]' '[画面]' '[ユーザー 情報]'; do
    grep -qF -- "$heading" "$out/report.txt" || { echo "test-wine: $family report lacks $heading" >&2; exit 1; }
  done
}

run_family() {
  local family=$1
  echo "== Windows under Wine, $family family${2:+, locale $2}"
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
  check_reports "$family"
  if [ "$family" = nt ]; then
    check_package
    check_separator_locales
    compare_pages
  fi
  cleanup
  if [ -n "${2:-}" ]; then { unset LC_ALL; } 2> /dev/null; fi
}

run_family nt
run_family 9x ja_JP.UTF-8

# The window's pages as PNG files, to look at.
for picture in "$build"/window-pages/*/*.bmp; do
  convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
echo "test-wine: the window's pages are in $build/window-pages"
