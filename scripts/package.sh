#!/usr/bin/env bash
# Builds the Debian package from a build folder (cpack -G DEB; its dependencies come from the
# shared libraries the programs link, by dpkg-shlibdeps) and checks it: the files it holds
# (dpkg-deb -c), its control fields (dpkg-deb -I), and the programs unpacked from it.
#
#   scripts/package.sh [build-dir]      (default: build/, built by scripts/build.sh)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${TOLVANE_BUILD_DIR:-$root/build}}
build=$(cd "$build" && pwd)
[ -f "$build/CPackConfig.cmake" ] || { echo "configure and build $build first" >&2; exit 1; }
out=$build/package
rm -rf "$out"
(cd "$build" && cpack -G DEB -B "$out" > "$out.log" 2>&1) || { cat "$out.log"; exit 1; }
deb=$(ls "$out"/tolvane_*.deb)
echo "package: $deb ($(du -h "$deb" | cut -f1))"
fail() { echo "FAIL: $*" >&2; exit 1; }

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/tolvane ./usr/bin/tolvane-cli \
    ./usr/share/tolvane/define_py_tone.dll ./usr/share/tolvane/pinyin_words.txt \
    ./usr/share/tolvane/pinyin_pairs.txt ./usr/share/tolvane/pinyin_chars.txt \
    ./usr/share/tolvane/CC-CEDICT-LICENSE.txt ./usr/share/tolvane/sample.txt \
    ./usr/share/tolvane/polyphone_model.bin ./usr/share/tolvane/G2PM-LICENSE.txt \
    ./usr/share/applications/org.example.tolvane.desktop \
    ./usr/share/metainfo/org.example.tolvane.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/org.example.tolvane.svg \
    ./usr/share/icons/hicolor/48x48/apps/org.example.tolvane.png \
    ./usr/share/man/man1/tolvane.1.gz ./usr/share/man/man1/tolvane-cli.1.gz \
    ./usr/share/doc/tolvane/copyright ./usr/share/doc/tolvane/LICENSE \
    ./usr/share/doc/tolvane/UNICODE-LICENSE.txt; do
  grep -qxF "$path" <<< "$contents" || fail "$path is not in the package"
done
stray=$(grep -vE '^\./usr/(bin|share/(tolvane|applications|metainfo|icons|man|doc/tolvane))(/|$)|^\./$|^\./usr/$|^\./usr/share/$|^\./usr/share/doc/$' <<< "$contents" || true)
[ -z "$stray" ] || fail "unexpected paths in the package: $stray"

info=$(dpkg-deb -I "$deb")
field() { sed -n "s/^ $1: //p" <<< "$info"; }
[ "$(field Package)" = tolvane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$(sed -n 's/^project(Tolvane VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")" ] ||
  fail "Version: $(field Version)"
depends=$(field Depends)
# What the programs link, found by dpkg-shlibdeps, and the platform plugin Qt loads at start.
for needed in libc6 libstdc++6 libicu72 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    qt6-qpa-plugins; do
  sed 's/, /\n/g; s/ ([^)]*)//g' <<< "$depends" | grep -qxF "$needed" || fail "Depends lacks $needed: $depends"
done
# The programs in the package are stripped and run from an unpacked copy.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
for program in tolvane tolvane-cli; do
  ! readelf -S "$unpacked/usr/bin/$program" | grep -q '\.symtab' || fail "$program is not stripped"
done
[ "$(HOME=$unpacked "$unpacked/usr/bin/tolvane-cli" preview 北京 | head -1)" = "běi jīng" ] ||
  fail "the packaged tolvane-cli does not convert"
echo "Depends: $depends"
echo "Recommends: $(field Recommends)"
echo "package checked: contents, dependencies, programs"
