#!/usr/bin/env bash
# tolvane-cli through pipes: standard input to standard output in the same bytes as a file run
# (and on any number of jobs), and a reader that closes the pipe early ends the run quietly with
# the conventional status of a broken pipe (141: killed by SIGPIPE).
#
#   tests/cli/pipes_test.sh path/to/tolvane-cli
set -uo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
for i in $(seq 40000); do printf '我爱北京天安门，天安门上红旗飘 %d\r\n' "$i"; done > "$work/source.txt"
"$cli" convert --quiet "$work/source.txt" "$work/file.txt" || fail "file run"
"$cli" convert --jobs 1 - - < "$work/source.txt" > "$work/pipe1.txt" 2> "$work/err1" || fail "pipe run, one job"
"$cli" convert --jobs 2 - - < "$work/source.txt" > "$work/pipe2.txt" 2> "$work/err2" || fail "pipe run, two jobs"
cat "$work/source.txt" | "$cli" convert - - > "$work/pipe3.txt" 2> "$work/err3" || fail "pipe run from cat"
for f in pipe1 pipe2 pipe3; do cmp -s "$work/file.txt" "$work/$f.txt" || fail "$f differs from the file run"; done
[ ! -s "$work/err1" ] || fail "the pipe run said something: $(cat "$work/err1")"
# The reader goes away after a few bytes.
"$cli" convert - - < "$work/source.txt" 2> "$work/err4" | head -c 100 > /dev/null
status=${PIPESTATUS[0]}
[ "$status" -eq 141 ] || fail "a closed pipe gave status $status, not 141"
[ ! -s "$work/err4" ] || fail "a closed pipe printed: $(cat "$work/err4")"
echo "ok: pipes"
