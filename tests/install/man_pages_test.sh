#!/usr/bin/env bash
# The manual pages tell the truth about the command line: every option that a command's --help
# lists is described in tolvane-cli(1), and both pages render without warnings. The pages are read
# as packaging/ holds them, before the build writes the version into their headers.
#
#   man_pages_test.sh TOLVANE-CLI PACKAGING-DIR
set -euo pipefail
cli=$1
pages=$2
status=0
for command in convert lookup preview encoding table; do
  for option in $("$cli" "$command" --help | grep -oE -- '--[a-z][a-z0-9-]*' | sort -u); do
    escaped=${option//-/\\-}
    grep -qF -- "$escaped" "$pages/tolvane-cli.1.in" ||
      { echo "FAIL: tolvane-cli $command $option is not in tolvane-cli.1"; status=1; }
  done
done
"$cli" --version | grep -q "^tolvane-cli " || { echo "FAIL: --version"; status=1; }
grep -qF -- '\-\-version' "$pages/tolvane-cli.1.in" || { echo "FAIL: --version is not described"; status=1; }
if command -v man > /dev/null; then
  for page in tolvane.1 tolvane-cli.1; do
    warnings=$(MANWIDTH=80 man --warnings -l "$pages/$page.in" 2>&1 > /dev/null || true)
    [ -z "$warnings" ] || { echo "FAIL: $page: $warnings"; status=1; }
  done
fi
exit "$status"
