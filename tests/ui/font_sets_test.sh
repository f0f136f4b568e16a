#!/usr/bin/env bash
# The window tests under other sets of fonts than the machine's: only the Chinese fonts (so that
# "Arial" falls back to a CJK font), and the metric-compatible Latin fonts a desktop usually has
# (so that "Arial" is Liberation Sans or Nimbus Sans). Each set is a fontconfig file naming only
# its font folders; a set whose folders are not on this machine is passed over, and when no set
# can be made the test is skipped (status 77).
#
#   font_sets_test.sh TEST-EXECUTABLE...
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sets=(
  "noto-cjk-only:/usr/share/fonts/opentype/noto"
  "urw-base35:/usr/share/fonts/opentype/urw-base35 /usr/share/fonts/opentype/noto"
  "liberation-dejavu:/usr/share/fonts/truetype/liberation /usr/share/fonts/truetype/dejavu /usr/share/fonts/opentype/noto"
)
ran=0
failed=0
for set in "${sets[@]}"; do
  name=${set%%:*}
  folders=${set#*:}
  missing=""
  for folder in $folders; do [ -d "$folder" ] || missing="$folder"; done
  if [ -n "$missing" ]; then
    echo "$name: passed over, $missing is not on this machine"
    continue
  fi
  conf=$work/$name.conf
  {
    echo '<?xml version="1.0"?><!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd"><fontconfig>'
    for folder in $folders; do echo "<dir>$folder</dir>"; done
    echo "<cachedir>$work/cache-$name</cachedir>"
    echo '<include ignore_missing="yes">/etc/fonts/conf.d</include></fontconfig>'
  } > "$conf"
  echo "$name: \"Arial\" is $(FONTCONFIG_FILE=$conf fc-match -f '%{family[0]}' Arial 2>/dev/null || echo '?')"
  for test in "$@"; do
    if ! FONTCONFIG_FILE=$conf QT_QPA_PLATFORM=offscreen "$test" --gtest_brief=1 > "$work/out" 2>&1; then
      echo "FAIL under $name: $(basename "$test")"
      grep -E "Failure|FAILED|Which is|actual" "$work/out" | head -20
      failed=1
    fi
  done
  ran=1
done
[ "$ran" = 1 ] || exit 77
exit "$failed"
