#!/usr/bin/env bash
# The HTML page in a real browser (Debian's chromium-headless-shell): pages of the stored runs and
# of a hostile comparison (labels, a title and paths holding </script>, <svg onload=...>, &,
# quotes, U+202E and bytes that are not UTF-8) are opened with no Content-Security-Policy
# violation on the console and no request but the file itself; every data-verdict in the DOM
# equals the CSV verdict of its row; printed to PDF, the verdict words and the folded rows are
# there. Screenshots in light, in dark and 390 pixels wide are kept for people to look at, never
# compared by pixels. xmllint accepts every page, the golden ones and the README's example too.
#
#   html_report_test.sh DRIVES_TESK_RESULTS SOURCE_DIR OUTPUT_DIR
#
# Exits 77 (skipped) where the browser or xmllint is missing.
set -euo pipefail

results=$1
source=$2
out=$3

browser=$(command -v chromium-headless-shell || true)
if [[ -z $browser ]] || ! command -v xmllint >/dev/null || ! command -v pdftotext >/dev/null; then
  echo "SKIPPED: needs chromium-headless-shell, xmllint (libxml2-utils) and pdftotext" \
    "(poppler-utils)"
  exit 77
fi

rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# The browser, quiet about the machine and kept from any network service of its own.
browse() {
  local profile
  profile=$(mktemp -d "$work/profile.XXXXXX")
  timeout 120 "$browser" --no-sandbox --disable-gpu --no-first-run --disable-background-networking \
    --disable-component-update --disable-sync --user-data-dir="$profile" --hide-scrollbars "$@"
}

# The pages: the README's five runs a side, the single runs of each side, and a hostile comparison.
readme="$source/tests/data/results/readme"
(cd "$readme/five-runs" &&
  "$results" show ssd/results*.txt ram-disk/results*.txt --format html >"$out/five-runs.html" &&
  "$results" show ssd/results*.txt ram-disk/results*.txt --format csv >"$work/five-runs.csv")
(cd "$readme/one-run" &&
  "$results" show ssd/results*.txt ram-disk/results*.txt --format html >"$out/one-run.html" &&
  "$results" show ssd/results*.txt ram-disk/results*.txt --format csv >"$work/one-run.csv")

# The five runs a side again, from folders with hostile names and under hostile labels.
hostile_dir=$'d</script><svg onload=alert(1)>&\'"\xe2\x80\xaex'
bad_dir=$'bytes\xff\xfe'
mkdir -p "$work/$hostile_dir" "$work/$bad_dir"
cp "$readme/five-runs/ssd/"results_* "$work/$hostile_dir/"
cp "$readme/five-runs/ram-disk/"results_* "$work/$bad_dir/"
hostile_args=(show "$work/$hostile_dir/"results_*.txt "$work/$bad_dir/"results_*.txt)
for _ in 1 2 3 4 5; do
  hostile_args+=(--label $'</script><script>alert(1)</script>')
done
for _ in 1 2 3 4 5; do
  hostile_args+=(--label $'<svg onload=alert(2)> & "q" \'a\' \xe2\x80\xaeevil \xff')
done
"$results" "${hostile_args[@]}" --title $'<b>bold</b> & \xe2\x80\xae\xff' --format html \
  >"$out/hostile.html"
"$results" "${hostile_args[@]}" --format csv >"$work/hostile.csv"

pages=(five-runs one-run hostile)

# Well-formed XML: these pages, the golden ones and the README's example.
for page in "$out"/*.html "$source"/tests/data/golden/*.html "$source"/docs/example-report.html; do
  xmllint --noout "$page" || fail "xmllint refuses $page"
done

# "key verdict" of each row, as the CSV has it for the second column and as the page's DOM has it
# (the CSV's caveat lines are no rows of the table).
csv_verdicts() {
  awk -F, '$1 !~ /^caveat\./ { if ($1 in seen) print $1 " " $NF; seen[$1] = 1 }' "$1"
}
dom_verdicts() {
  xmllint --html --xpath '//table[@class="figures"]//tr[@data-key]' "$1" 2>/dev/null |
    grep -o 'data-key="[^"]*" data-verdict="[^"]*"' |
    sed -e 's/^data-key="\([^"]*\)" data-verdict="\([^"]*\)"$/\1 \2/'
}

for name in "${pages[@]}"; do
  page="$out/$name.html"
  url="file://$page"
  # Opened: the DOM as the browser built it, its console, and every request it made.
  browse --enable-logging=stderr --v=0 --log-net-log="$work/$name.netlog.json" \
    --window-size=1280,2400 --dump-dom "$url" >"$work/$name.dom.html" 2>"$work/$name.console.txt" ||
    fail "$name: the browser failed"
  if grep -E "Content Security Policy|Refused" "$work/$name.console.txt"; then
    fail "$name: the page broke its own policy"
  fi
  requests=$(grep -o '"url":"[^"]*"' "$work/$name.netlog.json" | sort -u | grep -v "\"url\":\"$url\"" || true)
  if [[ -n $requests ]]; then
    fail "$name: requests other than the file itself: $requests"
  fi
  scripts=$(grep -o -i '<script' "$work/$name.dom.html" | wc -l)
  [[ $scripts -eq 1 ]] || fail "$name: $scripts script elements in the DOM, expected the data alone"
  if grep -q -i '<svg onload\|<img\|<b>bold' "$work/$name.dom.html"; then
    fail "$name: hostile markup became elements"
  fi
  dom_verdicts "$work/$name.dom.html" >"$work/$name.dom-verdicts.txt"
  csv_verdicts "$work/$name.csv" >"$work/$name.csv-verdicts.txt"
  [[ -s $work/$name.dom-verdicts.txt ]] || fail "$name: no rows with data-verdict in the DOM"
  diff "$work/$name.csv-verdicts.txt" "$work/$name.dom-verdicts.txt" ||
    fail "$name: the DOM's verdicts differ from the CSV's"

  # Printed: the verdict words are there, and the folded rows print open.
  browse --print-to-pdf="$out/$name.pdf" --no-pdf-header-footer "$url" 2>/dev/null ||
    fail "$name: printing failed"
  pdftotext "$out/$name.pdf" "$work/$name.pdf.txt" || fail "$name: pdftotext failed"
  for word in "compared with" "Every figure" "How to read it"; do
    grep -q "$word" "$work/$name.pdf.txt" || fail "$name: the printed page lacks \"$word\""
  done

  # For people to look at: light, dark and a phone's width.
  browse --window-size=1280,2400 --screenshot="$out/$name-light.png" "$url" 2>/dev/null ||
    fail "$name: light screenshot"
  # In this version of the browser, preferredColorScheme 0 is dark and 1 light.
  browse --window-size=1280,2400 --blink-settings=preferredColorScheme=0 \
    --screenshot="$out/$name-dark.png" "$url" 2>/dev/null || fail "$name: dark screenshot"
  browse --window-size=390,2400 --screenshot="$out/$name-390px.png" "$url" 2>/dev/null ||
    fail "$name: narrow screenshot"
done

# What the five runs' page must print: every verdict word it judges with, and the rows that agree.
for word in faster undecided "operating system" "Read with care" "page cache"; do
  grep -q "$word" "$work/five-runs.pdf.txt" || fail "five-runs: the printed page lacks \"$word\""
done
# The single runs are not judged: no verdict in the DOM.
if awk '{ print $2 }' "$work/one-run.dom-verdicts.txt" | grep -q .; then
  fail "one-run: single runs got a verdict"
fi

echo "pages, PDFs and screenshots in $out"
if ((failures)); then
  echo "$failures checks failed"
  exit 1
fi
echo "PASSED: ${#pages[@]} pages in the browser"
