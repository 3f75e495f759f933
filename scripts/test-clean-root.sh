#!/usr/bin/env bash
# Installs the Debian package into a clean, minimal Debian 12 root made from Debian's packages
# (mmdebstrap, variant apt), where it must bring what it needs itself, and checks it as a user of
# that system would: the version answers; without a display it says so in one line and ends with
# status 1; on Qt's offscreen platform it runs until stopped; the desktop entry, AppStream file,
# icons and manual page are where a desktop and man look; started by root it makes nothing under
# /usr; a purge leaves none of its files.
#   scripts/test-clean-root.sh DEB
# The minimal root is cached as a tarball in ~/.cache/zelvo ($XDG_CACHE_HOME/zelvo) for a week.
# Needs root (chroot, mount namespace) and the packages of `scripts/install-deps.sh package`.
set -euo pipefail
deb=$(realpath "${1:?the .deb to check}")
home=${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}
cache=${XDG_CACHE_HOME:-$home/.cache}/zelvo
tarball=$cache/clean-root-bookworm-apt.tar
mirrors=(
  "deb http://deb.debian.org/debian bookworm main"
  "deb http://deb.debian.org/debian bookworm-updates main"
  "deb http://deb.debian.org/debian-security bookworm-security main"
)
mkdir -p "$cache"
if [ -z "$(find "$tarball" -mtime -7 2>/dev/null)" ]; then
  echo "test-clean-root: making a minimal Debian 12 root" >&2
  mmdebstrap --quiet --variant=apt --format=tar --aptopt='Acquire::Check-Valid-Until "false"' bookworm "$tarball.new" \
    "${mirrors[@]}"
  mv "$tarball.new" "$tarball"
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
tar -C "$root" -xf "$tarball"
cp "$deb" "$root/tmp/"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

# Runs a shell script inside the root, in a mount and process namespace of its own (so nothing
# is left mounted and every process it starts ends with it), with /proc and /dev as a program
# expects them.
in_root() {
  unshare --mount --pid --fork --kill-child sh -euc '
    mount --make-rprivate /
    mount -t proc proc "$1/proc"
    mount --rbind /dev "$1/dev"
    root=$1; shift
    exec chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
      DEBIAN_FRONTEND=noninteractive sh -euc "$@"' sh "$root" "$@"
}

status=0
fail() {
  echo "test-clean-root: $*" >&2
  status=1
}

echo "test-clean-root: apt-get install ./$(basename "$deb")" >&2
in_root "apt-get -q update > /tmp/apt.log && apt-get -q install -y ./tmp/$(basename "$deb") >> /tmp/apt.log" ||
  { tail -n 30 "$root/tmp/apt.log" >&2; exit 1; }
in_root 'find /usr | sort > /tmp/usr-installed'

# The version, the one-line refusal without a display, the offscreen window until it is stopped:
# all as root, whose home is /root.
version=$(in_root 'zelvo --version') || fail "zelvo --version failed"
[ "$version" = "zelvo $(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')" ] || fail "zelvo --version said '$version'"
set +e
refusal=$(in_root 'zelvo 2>&1 >/dev/null')
refused=$?
in_root 'QT_QPA_PLATFORM=offscreen timeout 5 zelvo'
stopped=$?
set -e
[ "$refused" = 1 ] || fail "without a display zelvo ended with $refused, not 1"
[ "$(printf '%s\n' "$refusal" | wc -l)" = 1 ] && [ -n "$refusal" ] ||
  fail "without a display zelvo said: $refusal"
[ "$stopped" = 124 ] || fail "on the offscreen platform zelvo ended by itself ($stopped) instead of running until stopped"
[ -d "$root/root/.cache/zelvo/TempData" ] || fail "started by root, zelvo made no /root/.cache/zelvo/TempData"

# Where a desktop and man look.
for file in usr/bin/zelvo usr/share/applications/io.github.zelvo.Zelvo.desktop \
  usr/share/metainfo/io.github.zelvo.Zelvo.metainfo.xml usr/share/icons/hicolor/scalable/apps/zelvo.svg \
  usr/share/icons/hicolor/48x48/apps/zelvo.png usr/share/man/man1/zelvo.1.gz \
  usr/share/doc/zelvo/copyright; do
  [ -s "$root/$file" ] || fail "/$file is missing"
done

in_root 'find /usr | sort > /tmp/usr-after-start; dpkg-query -L zelvo > /tmp/package-files'
new=$(comm -13 "$root/tmp/usr-installed" "$root/tmp/usr-after-start")
[ -z "$new" ] || fail "running zelvo made files under /usr: $new"

echo "test-clean-root: apt-get purge zelvo" >&2
in_root 'apt-get -q purge -y zelvo > /tmp/apt.log' || { tail -n 30 "$root/tmp/apt.log" >&2; exit 1; }
while read -r file; do
  # The folders are shared with other packages; the files must go.
  if [ -e "$root$file" ] && [ ! -d "$root$file" ]; then fail "$file is left after the purge"; fi
done < "$root/tmp/package-files"
in_root 'find /usr | sort > /tmp/usr-purged'
new=$(comm -13 "$root/tmp/usr-installed" "$root/tmp/usr-purged")
[ -z "$new" ] || fail "after the purge, new under /usr: $new"

[ "$status" = 0 ] && echo "test-clean-root: installs, runs and purges cleanly in a minimal Debian 12 root"
exit "$status"
