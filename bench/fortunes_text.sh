#!/usr/bin/env bash
# Prints, in UTF-8, the Chinese texts that Debian's fortunes-zh installs (modern sayings, 300 Tang
# poems, 100 Song lyrics), ANSI colour codes and "%" separators removed, kept to what GB2312
# holds: the text the benchmark corpora are made of.
set -euo pipefail
fortunes=/usr/share/games/fortunes
[ -f "$fortunes/chinese" ] || { echo "install fortunes-zh first" >&2; exit 1; }
cat "$fortunes/chinese" "$fortunes/tang300" "$fortunes/song100" |
  sed -e 's/\x1b\[[0-9;]*m//g' -e '/^%$/d' | iconv -c -f UTF-8 -t GB2312 | iconv -f GB2312 -t UTF-8
