#!/usr/bin/env bash
# Installs the build into a fresh DESTDIR under /usr, makes it read-only and uses the installed
# programs as a new user would, with a fresh HOME and no XDG variables: every file must land
# where an installed copy keeps it, and nothing may be written inside the installation.
#
#   install_test.sh BUILD-DIR SOURCE-DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

dest=$work/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr > "$work/install.log"
usr=$dest/usr

# Where each installed file goes.
expected=(
  bin/tolvane-cli
  share/tolvane/define_py_tone.dll
  share/tolvane/pinyin_words.txt
  share/tolvane/pinyin_pairs.txt
  share/tolvane/pinyin_chars.txt
  share/tolvane/CC-CEDICT-LICENSE.txt
  share/tolvane/polyphone_model.bin
  share/tolvane/G2PM-LICENSE.txt
  share/tolvane/sample.txt
  share/applications/org.example.tolvane.desktop
  share/metainfo/org.example.tolvane.metainfo.xml
  share/icons/hicolor/scalable/apps/org.example.tolvane.svg
  share/man/man1/tolvane.1.gz
  share/man/man1/tolvane-cli.1.gz
  share/doc/tolvane/LICENSE
  share/doc/tolvane/UNICODE-LICENSE.txt
  share/doc/tolvane/CC-CEDICT-LICENSE.txt
  share/doc/tolvane/G2PM-LICENSE.txt
  share/doc/tolvane/copyright
)
[ -x "$build/bin/tolvane" ] && expected+=(bin/tolvane)
# The library for the programs (runtime) and for developers (dev), in Debian's multiarch folder.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
major=$(sed -n 's/^project(Tolvane VERSION \([0-9]*\).*/\1/p' "$source/CMakeLists.txt")
expected+=("lib/$multiarch/libtolvane.so.$major" "lib/$multiarch/libtolvane.so"
           "lib/$multiarch/cmake/Tolvane/TolvaneConfig.cmake"
           "lib/$multiarch/cmake/Tolvane/TolvaneConfigVersion.cmake"
           "lib/$multiarch/pkgconfig/tolvane.pc" include/tolvane/tolvane.h)
command -v rsvg-convert > /dev/null && expected+=(share/icons/hicolor/48x48/apps/org.example.tolvane.png
                                                 share/icons/hicolor/256x256/apps/org.example.tolvane.png)
for file in "${expected[@]}"; do [ -f "$usr/$file" ] || fail "not installed: /usr/$file"; done
# Nothing of the user's, and no build or test leftovers, is installed.
unexpected=$(cd "$usr" && find . -type f \( -name 'define_han.dll' -o -name 'config*' -o \
             -name 'temp.txt' -o -name '*Test*' -o -name '*bench*' \) | grep -v '^./share/doc/tolvane/copyright$' || true)
[ -z "$unexpected" ] || fail "installed but should not be: $unexpected"

# The menu entry and the metadata are valid, where the validators are on this machine.
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$usr/share/applications/org.example.tolvane.desktop" || fail "desktop entry"
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$usr/share/metainfo/org.example.tolvane.metainfo.xml" > "$work/as.log" ||
    { cat "$work/as.log"; fail "AppStream metadata"; }
fi

# Only the public headers are installed, none of the layers'.
headers=$(cd "$usr/include" && find . -type f | sort | tr '\n' ' ')
want_headers=$(cd "$source/include" && find . -type f -name '*.h' | sort | tr '\n' ' ')
[ "$headers" = "$want_headers" ] || fail "installed headers: $headers (expected $want_headers)"
# The programs find the installed library by a path relative to themselves, so that this
# installation, in a folder the loader does not search, runs; no path of the build stays in them.
for program in "$usr"/bin/*; do
  # tolvane-dask is a Python script.
  [ "$(head -c 4 "$program" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
  runpath=$(readelf -d "$program" | sed -n 's/.*R\(UN\)\{0,1\}PATH.*\[\(.*\)\]/\2/p')
  [ "$runpath" = "\$ORIGIN/../lib/$multiarch" ] || fail "$program's run path: $runpath"
done

chmod -R a-w "$dest"
touch "$work/before"
sleep 0.01
home=$work/home
mkdir "$home"
run() { env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$home" "$@"; }
cli=$usr/bin/tolvane-cli

# A user dictionary where an installed copy reads it, made as the editors write it.
mkdir -p "$home/.local/share/tolvane"
printf '\xd6\xd0\r\n' > "$home/.local/share/tolvane/define_han.dll"   # 中
printf 'ZHONG\r\n' > "$home/.local/share/tolvane/define_py.dll"
[ "$(run "$cli" preview --polyphone first --tone numbered 中国 | head -1)" = "ZHONG guo2" ] ||
  fail "the user dictionary was not read: $(run "$cli" preview --polyphone first --tone numbered 中国)"
# The tone glyphs and the phrase data come from share/tolvane.
[ "$(run "$cli" preview --polyphone first 北京 | head -1)" = "běi jīng" ] ||
  fail "tone glyphs: $(run "$cli" preview --polyphone first 北京)"
[ "$(run "$cli" preview --tone numbered --polyphone context 银行行走 | head -1)" = "yin2 hang2 xing2 zou3" ] ||
  fail "reading by context: $(run "$cli" preview --tone numbered --polyphone context 银行行走)"

# A conversion with a wrap width: temp.txt in the cache folder, made for it; the output equals
# what a portable copy with the same files writes.
run "$cli" convert --quiet --polyphone first --wrap 20 "$usr/share/tolvane/sample.txt" "$work/installed.txt" ||
  fail "convert --wrap 20 failed"
[ -f "$home/.cache/tolvane/temp.txt" ] || fail "temp.txt is not in ~/.cache/tolvane"
portable=$work/portable
mkdir "$portable"
cp "$usr/share/tolvane/define_py_tone.dll" "$home/.local/share/tolvane/"define_*.dll "$portable/"
"$build/bin/tolvane-cli" convert --quiet --polyphone first --wrap 20 --data-dir "$portable" \
  "$source/data/sample.txt" "$work/portable.txt"
cmp -s "$work/installed.txt" "$work/portable.txt" || fail "installed and portable output differ"
# --data-dir still overrides: temp.txt goes there.
mv "$home/.cache/tolvane/temp.txt" "$work/temp.txt"
run "$cli" convert --quiet --polyphone first --wrap 10 --data-dir "$portable" "$usr/share/tolvane/sample.txt" "$work/d.txt"
[ -f "$portable/temp.txt" ] && [ ! -f "$home/.cache/tolvane/temp.txt" ] || fail "--data-dir and temp.txt"
mv "$work/temp.txt" "$home/.cache/tolvane/temp.txt"

# The desktop program starts from the installation and keeps its language file in ~/.config. It
# writes config.db while it starts; it is then ended by a signal, so that it saves nothing.
if [ -x "$usr/bin/tolvane" ]; then
  env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$home" QT_QPA_PLATFORM=offscreen \
    "$usr/bin/tolvane" > "$work/window.log" 2>&1 &
  window=$!
  for _ in $(seq 1200); do  # up to two minutes, on a busy machine
    [ -f "$home/.config/tolvane/config.db" ] && break
    kill -0 "$window" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$window" 2>/dev/null ||
    { wait "$window" || true; fail "the installed window did not start: $(cat "$work/window.log")"; }
  kill "$window"
  wait "$window" || true
  [ -f "$home/.config/tolvane/config.db" ] || fail "config.db is not in ~/.config/tolvane"
  # The same start-up, run for an installed copy, gets as far as the shown window.
  if [ -x "$build/bin/tolvane-window-startup" ]; then
    shown=$(run env QT_QPA_PLATFORM=offscreen "$build/bin/tolvane-window-startup" "$usr/bin" 2>&1)
    case $shown in *"shown at"*) ;; *) fail "the installed copy's window was not shown: $shown" ;; esac
  fi
fi

# Nothing was written inside the installation; the user's folders hold only the user's files.
written=$(find "$dest" -newer "$work/before" -print)
[ -z "$written" ] || fail "written inside the installation: $written"
found=$(cd "$home" && find . -type f | sort | tr '\n' ' ')
want="./.cache/tolvane/temp.txt ./.local/share/tolvane/define_han.dll ./.local/share/tolvane/define_py.dll "
[ -x "$usr/bin/tolvane" ] && want="./.cache/tolvane/temp.txt ./.config/tolvane/config.db ./.local/share/tolvane/define_han.dll ./.local/share/tolvane/define_py.dll "
[ "$found" = "$want" ] || fail "files in HOME: $found (expected $want)"
echo "installed layout, read-only installation and user folders: ok"
