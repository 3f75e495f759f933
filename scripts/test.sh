#!/usr/bin/env bash
# Installs what Zelvo needs, checks the format, builds the whole test suite with AddressSanitizer,
# UndefinedBehaviorSanitizer and warnings as errors, checks src/ with clang-tidy, runs the suite,
# and the platform and probe tests with ThreadSanitizer; takes the pages under Wayland and X11 and
# compares them; validates the desktop files and the install; then cross-builds Qt (once, cached)
# and the whole program for Windows, and runs the window, its pages and the libraries' tests under
# Wine in both families. Ends with the time each step took.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/lib.sh
trap step_times EXIT
timed "install the packages" bash scripts/install-deps.sh
timed "format check" bash scripts/check-format.sh
# The suite as `ctest --preset test` runs it by hand (CMakePresets.json carries the sanitizers' options).
sanitized_build() { cmake --preset test && cmake --build --preset test; }
timed "sanitized build" sanitized_build
timed "clang-tidy" bash scripts/check-tidy.sh build/test
timed "sanitized suite" ctest --preset test
# The platform and probe tests again under ThreadSanitizer, for the drive queries' detached threads
# and forked children and the locale watch. Should it stop at start with "unexpected memory mapping"
# (a kernel with more address-randomisation bits), run ctest under `setarch "$(uname -m)" -R`.
tsan_tests() { cmake --preset tsan && cmake --build --preset tsan && ctest --preset tsan; }
timed "ThreadSanitizer build and tests" tsan_tests
# The later steps start the same sanitised programs outside CTest: the same options as the test preset.
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
timed "fuzzing" bash scripts/test-fuzz.sh build/fuzz  # every parser of machine text under libFuzzer, 20 s each

# The window as a native Wayland client under a headless Weston, against the same under X11.
timed "Wayland and X11 sessions" bash scripts/test-sessions.sh build/test
# The window through AT-SPI, as a screen reader reads it, and used with the keyboard alone.
timed "AT-SPI and keyboard" bash scripts/test-a11y.sh build/test
# What the desktop reads about the program, and where the install puts it.
desktop_files() {
  desktop-file-validate resources/io.github.zelvo.Zelvo.desktop &&
    appstreamcli validate --no-net build/test/io.github.zelvo.Zelvo.metainfo.xml &&
    bash scripts/test-install.sh build/test
}
timed "desktop files and install" desktop_files
# The Debian package (the suite has run: nocheck), lintian-clean, installed and purged in a minimal root.
debian_package() {
  local deb
  deb=$(bash scripts/package-deb.sh nocheck | tail -n 1)
  bash scripts/test-clean-root.sh "$deb"
}
timed "Debian package and clean-root install" debian_package
# The reports, the clipboard copy and the Ansible local facts.
reports() { bash scripts/test-reports.sh build/test && bash scripts/test-ansible.sh build/test; }
timed "reports and Ansible" reports

# Qt for Windows on its own step (cached after its first build), then the program under Wine.
timed "Qt for Windows" bash scripts/build-qt-windows.sh > /dev/null
timed "Windows build and Wine" bash scripts/test-wine.sh build/win build/test
