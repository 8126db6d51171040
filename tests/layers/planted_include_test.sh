#!/usr/bin/env bash
# The layer check passes on the sources as they are, and fails on a copy with one backward include
# planted, naming the file: once per kind of wrong direction.
set -euo pipefail
root=$1
check="$root/tools/check-layers"
"$check" "$root/src"

copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
planted=(
  "single/scratch_names.cpp app/run_sequence.h"            # the top included from below
  "report/report_line.cpp parallel/parallel_frame.h"       # a lower layer reaching up
  "results/reading/results_file.cpp state/run_state.h"     # the companion in the benchmark's state
  "contract/figure_table.h results/record/run_record.h"    # the contract depending on a program
  "results/output/formats.cpp results/running/context_file.h"  # output reaching into running
)
for case in "${planted[@]}"; do
  read -r file include <<<"$case"
  rm -rf "$copy/src"
  cp -r "$root/src" "$copy/src"
  echo "#include \"$include\"" >>"$copy/src/$file"
  if output=$("$check" "$copy/src"); then
    echo "not caught: $file including $include"
    exit 1
  fi
  grep -qF "$file:" <<<"$output" || { echo "wrong report for $file: $output"; exit 1; }
done
echo "every planted include was caught"
