#!/usr/bin/env bash
# What a book costs as an HTML page, a PDF and the handout documents: the fortunes-zh text
# (bench/fortunes_text.sh) joined into paragraphs of about 200 characters until the PDF of it
# runs to 300 A4 pages or more, converted by `tolvane-cli convert` to HTML, DOCX, ODT and EPUB and
# by the window's PDF export (the ui_pdf_export tool, the same layout code) to PDF, with the
# default settings and with reading by context. Prints pages, seconds and sizes.
#
#   bench/book_cost.sh [build-dir]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli=$build/bin/tolvane-cli
pdf=$build/tests/ui_pdf_export
[ -x "$cli" ] && [ -x "$pdf" ] || { echo "build first: $cli and $pdf are needed" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
characters=${TOLVANE_BOOK_CHARACTERS:-250000}
"$root/bench/fortunes_text.sh" | python3 -c '
import sys
want = int(sys.argv[1])
text = "".join(line.strip() for line in sys.stdin if line.strip())
while len(text) < want: text += text
text = text[:want]
print("\n".join(text[i:i + 200] for i in range(0, len(text), 200)))' "$characters" > "$work/book.txt"
printf 'book: %d characters in %d paragraphs, %d bytes (UTF-8)\n' "$characters" \
  "$(wc -l < "$work/book.txt")" "$(stat -c %s "$work/book.txt")"
printf '%-34s %8s %10s %12s\n' output pages seconds "size MB"
for policy in first context; do
  start=$(date +%s.%N)
  "$cli" convert --quiet --polyphone "$policy" "$work/book.txt" "$work/book.html"
  end=$(date +%s.%N)
  printf '%-34s %8s %10.2f %12.2f\n' "HTML, $policy" "-" "$(echo "$end - $start" | bc)" \
    "$(echo "$(stat -c %s "$work/book.html")/1048576" | bc -l)"
  flag=""
  [ "$policy" = context ] && flag=--context
  start=$(date +%s.%N)
  pages=$(QT_QPA_PLATFORM=offscreen "$pdf" "$work/book.txt" "$work/book.pdf" $flag 2>/dev/null | cut -d' ' -f1)
  end=$(date +%s.%N)
  printf '%-34s %8s %10.2f %12.2f\n' "PDF (A4, fonts embedded), $policy" "$pages" \
    "$(echo "$end - $start" | bc)" "$(echo "$(stat -c %s "$work/book.pdf")/1048576" | bc -l)"
done
for format in docx odt epub; do
  start=$(date +%s.%N)
  "$cli" convert --quiet "$work/book.txt" "$work/book.$format"
  end=$(date +%s.%N)
  printf '%-34s %8s %10.2f %12.2f\n' "${format^^}, context" "-" "$(echo "$end - $start" | bc)" \
    "$(echo "$(stat -c %s "$work/book.$format")/1048576" | bc -l)"
done
