# Shared pieces of the benchmark scripts; sourced, not run.

# The best wall-clock time of three runs of the command, in seconds; its output is dropped.
best() {
  local best=""
  for _ in 1 2 3; do
    local start end t
    start=$(date +%s.%N)
    "$@" > /dev/null
    end=$(date +%s.%N)
    t=$(echo "$end - $start" | bc)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; fi
  done
  echo "$best"
}

# gb_corpus FILE MEGABYTES: the Chinese texts of Debian's fortunes-zh (bench/fortunes_text.sh)
# in GB2312 with CR LF line ends, repeated to at least MEGABYTES.
gb_corpus() {
  local file=$1 megabytes=$2
  "$(dirname "${BASH_SOURCE[0]}")/fortunes_text.sh" | iconv -f UTF-8 -t GB2312 | sed 's/$/\r/' > "$file.piece"
  : > "$file"
  while [ "$(stat -c %s "$file")" -lt $((megabytes * 1024 * 1024)) ]; do
    cat "$file.piece" >> "$file"
  done
  rm -f "$file.piece"
}

# pinyin_pro_cache: the folder whose node_modules holds pinyin-pro 3.29.5 (MIT), the library the
# context benchmarks compare with; installed from npm the first time, then reused.
pinyin_pro_cache() {
  local cache=${TOLVANE_BENCH_CACHE:-$HOME/.cache/tolvane-bench}
  if [ ! -f "$cache/node_modules/pinyin-pro/package.json" ]; then
    mkdir -p "$cache"
    npm install --prefix "$cache" --no-audit --no-fund pinyin-pro@3.29.5 >/dev/null
  fi
  echo "$cache"
}
