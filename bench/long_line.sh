#!/usr/bin/env bash
# Peak memory and time of `tolvane-cli convert` on a source that is one line of 100 MB without a
# line end: GB2312 Chinese with punctuation, and the same without any (so that no piece can end
# after a punctuation mark). A long line is read, annotated and written in pieces, so the peak
# should stay near that of an ordinary file whatever the length of the line.
#
#   bench/long_line.sh [build-dir] [megabytes]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
megabytes=${2:-100}
cli=$build/bin/tolvane-cli
[ -x "$cli" ] || { echo "build first: $cli is missing" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (Debian package time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# one_line FILE TEXT: TEXT (UTF-8) in GB2312, repeated without a line end to the size asked for.
one_line() {
  local file=$1 text=$2
  printf '%s' "$text" | iconv -f UTF-8 -t GB2312 > "$file.piece"
  while [ "$(stat -c %s "$file.piece")" -lt 1048576 ]; do
    cat "$file.piece" "$file.piece" > "$file.twice" && mv "$file.twice" "$file.piece"
  done
  : > "$file"
  while [ "$(stat -c %s "$file")" -lt $((megabytes * 1024 * 1024)) ]; do
    cat "$file.piece" >> "$file"
  done
  rm -f "$file.piece"
}

one_line "$work/punctuated.txt" "我爱北京天安门，天安门上太阳升。重庆银行的行长说：长城很长！"
one_line "$work/unpunctuated.txt" "我爱北京天安门天安门上太阳升重庆银行的行长说长城很长"

printf '%-14s %-32s %10s %10s %s\n' source options seconds "peak MiB" status
for source in punctuated unpunctuated; do
  # First reading unless the row says otherwise (the command line reads by context by default).
  for args in "--polyphone first" "--polyphone first --format html" "--polyphone context"; do
    target=$work/out.txt
    [ "$args" = "--polyphone first --format html" ] && target=$work/out.html
    # shellcheck disable=SC2086
    if /usr/bin/time -v -o "$work/time.txt" "$cli" convert $args "$work/$source.txt" "$target" \
        > /dev/null 2> "$work/err.txt"; then
      status=ok
    else
      status="failed: $(head -c 200 "$work/err.txt" | tr '\n' ' ')"
    fi
    seconds=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt" |
              awk -F: '{ s = 0; for (i = 1; i <= NF; ++i) s = s * 60 + $i; print s }')
    peak=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")
    printf '%-14s %-32s %10.1f %10.1f %s\n' "$source" "${args:-(default)}" "$seconds" \
      "$(echo "$peak / 1024" | bc -l)" "$status"
    rm -f "$target"
  done
done
