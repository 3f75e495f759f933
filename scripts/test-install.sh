#!/usr/bin/env bash
# Installs a build into a temporary DESTDIR and checks that a desktop finds the program there:
# the binary, the desktop entry, the AppStream file, the icon at every hicolor size and the manual
# page, which must format without a warning.
#   scripts/test-install.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
destdir=$(mktemp -d)
trap 'rm -rf "$destdir"' EXIT
DESTDIR=$destdir cmake --install "$build" --prefix /usr >/dev/null
root=$destdir/usr
status=0
expect() {
  if [ ! -s "$root/$1" ]; then
    echo "test-install: $1 was not installed" >&2
    status=1
  fi
}
expect bin/zelvo
expect share/applications/io.github.zelvo.Zelvo.desktop
expect share/metainfo/io.github.zelvo.Zelvo.metainfo.xml
expect share/icons/hicolor/scalable/apps/zelvo.svg
expect share/man/man1/zelvo.1
# The manual page as man formats it: any warning fails.
if [ -s "$root/share/man/man1/zelvo.1" ]; then
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man1/zelvo.1" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "test-install: the manual page has warnings:" >&2
    echo "$warnings" >&2
    status=1
  fi
fi
expect share/zelvo/zelvo-facts.schema.json
expect share/zelvo/ansible/zelvo.fact
for size in 16 22 24 32 48 64 128 256; do
  icon=share/icons/hicolor/${size}x${size}/apps/zelvo.png
  expect "$icon"
  if [ -s "$root/$icon" ] && [ "$(identify -format '%wx%h' "$root/$icon")" != "${size}x${size}" ]; then
    echo "test-install: $icon is not ${size} x ${size}" >&2
    status=1
  fi
done
# The component, its desktop entry and its icon, as a software centre reads them.
appstreamcli validate-tree --no-net "$destdir" >/dev/null || { appstreamcli validate-tree --no-net "$destdir"; status=1; }
[ "$status" = 0 ] && echo "test-install: installed as a desktop expects"
exit "$status"
