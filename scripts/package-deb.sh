#!/usr/bin/env bash
# Makes dist/zelvo_VERSION-1_amd64.deb the Debian way (debian/, dpkg-buildpackage -b) from a copy
# of this checkout, running the unit tests on the way, and checks it with lintian. Installs what
# building the package needs first.
#   scripts/package-deb.sh [nocheck]      (nocheck: leave the tests out, when the suite has run)
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD
if [ "${1:-}" = nocheck ]; then
  export DEB_BUILD_OPTIONS="nocheck${DEB_BUILD_OPTIONS:+ $DEB_BUILD_OPTIONS}"
  export DEB_BUILD_PROFILES="nocheck${DEB_BUILD_PROFILES:+ $DEB_BUILD_PROFILES}"
elif [ -n "${1:-}" ]; then
  echo "package-deb: unknown argument '$1' (nocheck)" >&2
  exit 2
fi

bash scripts/install-deps.sh package > /dev/null
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
# The build dependencies, as debian/control lists them (without the tests' under nocheck).
profiles=()
[ -z "${DEB_BUILD_PROFILES:-}" ] || profiles=(-P "${DEB_BUILD_PROFILES// /,}")
DEBIAN_FRONTEND=noninteractive $SUDO apt-get build-dep -y -q "${profiles[@]}" "$checkout" > /dev/null

# A copy without build folders, packages or Git's files, so the checkout stays as it is.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/zelvo"
tar -C "$checkout" --exclude='./build*' --exclude=./dist --exclude=./.git --exclude=./obj-* -cf - . |
  tar -C "$work/zelvo" -xf -
echo "package-deb: building with dpkg-buildpackage -b${DEB_BUILD_OPTIONS:+ (DEB_BUILD_OPTIONS=$DEB_BUILD_OPTIONS)}" >&2
(cd "$work/zelvo" && dpkg-buildpackage -b -us -uc) > "$work/build.log" 2>&1 ||
  { tail -n 80 "$work/build.log" >&2; exit 1; }

version=$(cd "$work/zelvo" && dpkg-parsechangelog -S Version)
deb=zelvo_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).deb
mkdir -p dist
cp "$work/$deb" dist/
echo "package-deb: lintian" >&2
lintian --fail-on error,warning --info "$work"/zelvo_"${version}"_*.changes
ls "dist/$deb"
