#!/usr/bin/env bash
# Installs the package on a fresh Debian 12 and uses it as a new user would: a minimal bookworm
# made with debootstrap in a folder (root and network needed; a few minutes), the package
# installed there with apt-get, then the CLI and the window run by a new user, and the window and
# the launcher's entry photographed under Xvfb. Not part of the test command: it downloads a
# whole system. Pictures go to docs/screenshots/installed-*.png.
#
#   scripts/fresh-install-check.sh [build-dir] [chroot-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
fresh=${2:-$(mktemp -d)/root}
deb=$(ls "$build"/package/tolvane_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "run scripts/package.sh first" >&2; exit 1; }
command -v debootstrap > /dev/null || apt-get install -y -qq debootstrap > /dev/null
[ -x "$fresh/bin/bash" ] || debootstrap --variant=minbase bookworm "$fresh" http://deb.debian.org/debian > /dev/null
mountpoint -q "$fresh/proc" || mount -t proc proc "$fresh/proc"
mountpoint -q "$fresh/dev" || mount --bind /dev "$fresh/dev"
trap 'umount "$fresh/proc" "$fresh/dev" 2>/dev/null || true' EXIT
cp /etc/resolv.conf "$fresh/etc/resolv.conf"
cp "$deb" "$fresh/tmp/"
in_fresh() { chroot "$fresh" /usr/bin/env DEBIAN_FRONTEND=noninteractive "$@"; }
in_fresh apt-get update -qq
in_fresh apt-get install -y -qq "/tmp/$(basename "$deb")" > /dev/null
in_fresh apt-get install -y -qq --no-install-recommends xvfb xauth rofi x11-apps imagemagick openbox > /dev/null
in_fresh sh -c 'id tryout > /dev/null 2>&1 || useradd -m tryout'
cat > "$fresh/tmp/as-user.sh" <<'INNER'
set -eu
cd ~
tolvane-cli --version
tolvane-cli convert --quiet --polyphone first /usr/share/tolvane/sample.txt sample_拼音.txt
iconv -f GB2312 -t UTF-8 sample_拼音.txt | head -2
tolvane-cli convert --quiet --wrap 20 --polyphone context /usr/share/tolvane/sample.txt sample.html
tolvane-cli preview --polyphone context 银行行长
export DISPLAY=:5
Xvfb :5 -screen 0 760x620x24 > /dev/null 2>&1 & xvfb=$!
sleep 1.5
openbox > /dev/null 2>&1 &
sleep 1
rofi -show drun -filter tol -show-icons -theme-str 'window {width: 420px;}' > /dev/null 2>&1 & menu=$!
sleep 2.5
xwd -root -silent | convert xwd:- -crop 440x110+160+110 +repage /tmp/installed-menu.png
kill $menu; sleep 0.5
tolvane > /dev/null 2>&1 & window=$!
sleep 3
xwd -root -silent | convert xwd:- /tmp/installed-window.png
kill $window; sleep 0.5; kill $xvfb
echo "files of the user's:"; find ~ -path ~/.bashrc -prune -o -type f -newer ~/.profile -print | sort
INNER
chroot "$fresh" su - tryout -c 'sh /tmp/as-user.sh'
cp "$fresh/tmp/installed-menu.png" "$fresh/tmp/installed-window.png" "$root/docs/screenshots/"
echo "fresh install checked in $fresh"
