#!/usr/bin/env bash
# Cross-builds Qt 6 for 64-bit Windows (MinGW-w64) from Debian's own qt6-base source, the same version
# the Linux build uses: static and small (Core, Gui, Widgets, the windows platform plugin and the
# Windows styles, without the features the window does not use), compiled for size. Installs it
# into a cache outside the checkout, keyed by the Qt version and the options, with the notices a
# program linking it must carry (notices/THIRD-PARTY-NOTICES.txt), and prints that prefix (its only
# output: progress goes to standard error). When the cache is there already, it does nothing else.
#
# The source comes through apt-get with a private source list and state directory, made from the
# machine's own Debian entries, so the machine's apt configuration is left as it is.
#   scripts/build-qt-windows.sh            (cache: $ZELVO_QT_CACHE, else ~/.cache/zelvo)
# Expects the packages of scripts/install-deps.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD

version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
upstream=${version%%+*}
options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  # -Os rather than -O3: a smaller program, and a third less time compiling.
  -DFEATURE_optimize_size=ON
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_testlib=OFF
  -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF
  -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
  # Debian's source has no wintab headers.
  -DFEATURE_tabletevent=OFF
  # Text is drawn by the windows platform plugin's GDI and DirectWrite font engines: no FreeType,
  # and no second platform plugin painting with Direct2D (Direct2D 1.1 builds only that).
  -DFEATURE_freetype=OFF -DFEATURE_direct2d1_1=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_system_sqlite=OFF
  # What the window does not use: the style sheets, the graphics view, the standard dialogs other
  # than the message box (the Windows style needs the input dialog, and the table and tree views),
  # the item widgets, the other widgets it has none of, the text formats it neither reads nor
  # writes, and the other calendars.
  -DFEATURE_style_stylesheet=OFF -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF
  -DFEATURE_filedialog=OFF -DFEATURE_fontdialog=OFF -DFEATURE_colordialog=OFF
  -DFEATURE_progressdialog=OFF -DFEATURE_errormessage=OFF -DFEATURE_wizard=OFF -DFEATURE_textbrowser=OFF
  -DFEATURE_treewidget=OFF -DFEATURE_tablewidget=OFF -DFEATURE_listwidget=OFF -DFEATURE_columnview=OFF
  -DFEATURE_undoview=OFF -DFEATURE_datawidgetmapper=OFF -DFEATURE_calendarwidget=OFF
  -DFEATURE_datetimeedit=OFF -DFEATURE_mdiarea=OFF -DFEATURE_dockwidget=OFF -DFEATURE_fontcombobox=OFF
  -DFEATURE_keysequenceedit=OFF -DFEATURE_lcdnumber=OFF -DFEATURE_dial=OFF -DFEATURE_splashscreen=OFF
  -DFEATURE_commandlinkbutton=OFF -DFEATURE_toolbox=OFF -DFEATURE_syntaxhighlighter=OFF
  -DFEATURE_fscompleter=OFF -DFEATURE_filesystemmodel=OFF -DFEATURE_systemtrayicon=OFF
  -DFEATURE_sessionmanager=OFF -DFEATURE_movie=OFF -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF
  -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_imageformat_ppm=OFF
  -DFEATURE_imageformat_xbm=OFF -DFEATURE_mimetype=OFF -DFEATURE_xmlstream=OFF -DFEATURE_sharedmemory=OFF
  -DFEATURE_systemsemaphore=OFF -DFEATURE_transposeproxymodel=OFF -DFEATURE_concatenatetablesproxymodel=OFF
  -DFEATURE_jalalicalendar=OFF -DFEATURE_hijricalendar=OFF -DFEATURE_islamiccivilcalendar=OFF
  -DFEATURE_sha3_fast=OFF
)
key=$(printf '%s\n' "$version" "${options[@]}" "$(x86_64-w64-mingw32-g++-posix -dumpfullversion)" |
  sha256sum | cut -c1-12)
home=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
cache=${ZELVO_QT_CACHE:-${XDG_CACHE_HOME:-$home/.cache}/zelvo}
prefix=$cache/qt-$upstream-mingw-w64-$key
# The notices of what a program linking this Qt carries (scripts/qt-notices.py); a cache made
# before they were kept gets them from the source without a new build.
notices=$prefix/notices/THIRD-PARTY-NOTICES.txt
if [ -f "$prefix/.complete" ] && [ -f "$notices" ]; then
  echo "build-qt-windows: Qt $upstream for Windows is in the cache" >&2
  echo "$prefix"
  exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# deb-src entries for the Debian archives the machine already uses (deb822 and one-line forms).
debian_sources() {
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
      {
        types = uris = suites = comps = signed = ""
        for (i = 1; i <= NF; i++) {
          line = $i
          if (line ~ /^#/) continue
          split(line, kv, ":[ \t]*")
          name = kv[1]; value = substr(line, length(name) + 2); sub(/^[ \t]+/, "", value)
          if (name == "Types") types = value
          else if (name == "URIs") uris = value
          else if (name == "Suites") suites = value
          else if (name == "Components") comps = value
          else if (name == "Signed-By") signed = value
        }
        if (types ~ /deb/ && uris != "" && suites != "")
          printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n%s\n\n", uris, suites, comps,
            signed == "" ? "" : "Signed-By: " signed
      }' "$file"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb[[:space:]]' /etc/apt/sources.list | sed 's/^deb\([[:space:]]\)/deb-src\1/' >> "$work/sources.list" || true
  fi
}
mkdir -p "$work/parts" "$work/state/lists/partial" "$work/cache/archives/partial" "$work/src"
: > "$work/sources.list"
debian_sources > "$work/parts/debian.sources"
apt=(apt-get -q -o Dir::Etc::SourceList="$work/sources.list" -o Dir::Etc::SourceParts="$work/parts"
  -o Dir::State="$work/state" -o Dir::Cache="$work/cache" -o Debug::NoLocking=true
  -o APT::Sandbox::User=root)
echo "build-qt-windows: fetching the qt6-base $version source" >&2
"${apt[@]}" update > "$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
(cd "$work/src" && "${apt[@]}" source --download-only "qt6-base=$version" > "$work/apt.log" 2>&1) ||
  { cat "$work/apt.log" >&2; exit 1; }
dpkg-source --no-check -x "$work/src"/qt6-base_*.dsc "$work/src/qtbase" > /dev/null

if [ -f "$prefix/.complete" ]; then
  python3 "$checkout/scripts/qt-notices.py" "$work/src/qtbase" "$version" "$notices"
  echo "build-qt-windows: Qt $upstream for Windows is in the cache, now with its notices" >&2
  echo "$prefix"
  exit 0
fi
echo "build-qt-windows: configuring and building Qt $upstream for Windows (about 12 minutes on 2 cores)" >&2
rm -rf "$prefix"
cmake -S "$work/src/qtbase" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$checkout/cmake/mingw-w64-x86_64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake" \
  -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" > "$work/configure.log" 2>&1 ||
  { tail -n 60 "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" > "$work/build.log" 2>&1 || { grep -A12 -m3 '^FAILED:' "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" > /dev/null
python3 "$checkout/scripts/qt-notices.py" "$work/src/qtbase" "$version" "$notices"
touch "$prefix/.complete"
echo "build-qt-windows: installed into $prefix" >&2
echo "$prefix"
