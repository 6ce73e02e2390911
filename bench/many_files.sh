#!/usr/bin/env bash
# The command line on many files, and the file type found by itself against a type given.
#
#   bench/many_files.sh [runs] [folder]   (default 9 runs; without a folder, 2000 generated
#                                          chronologies of 1-4 series of 100-600 values)
#
# Builds Release into build-release. For the folder it times `quillet -q FILE...` (every file
# of the folder in one run, column files into an empty scratch folder) against
# `cp FILE... dest/` (into an empty folder too), alternating the two, and prints the medians,
# files per second and their ratio. Then, on the
# benchmark's full input (1500 series x 8000 values), `quillet -q full.crn` (type auto)
# against `quillet -q -t 1 full.crn`.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}

# shellcheck source=bench/common.sh
source bench/common.sh
folder=$(files_folder "${2:-}")
mapfile -t files < <(cd "$folder" && find . -maxdepth 1 -type f ! -name '*_COL' | sort)
count=${#files[@]}
bytes=$(cd "$folder" && cat "${files[@]}" | wc -c)

# Each run writes into a folder of its own, so that both create every file anew (a column file
# is always a new file, put in place by a rename); the folders are removed untimed.
run_quillet() { (cd "$folder" && "$quillet" -q -o "$work/out" "${files[@]}" 2> /dev/null) || true; }
run_copy() { (cd "$folder" && cp "${files[@]}" "$work/copy/"); }
fresh() { rm -rf "$work/out" "$work/copy"; mkdir "$work/out" "$work/copy"; }
fresh; run_quillet; run_copy
alternate "$runs" run_quillet run_copy "$work/q.times" "$work/c.times" fresh
converted=$(find "$work/out" -name '*_COL' | wc -l)
q=$(median < "$work/q.times")
c=$(median < "$work/c.times")
echo
awk -v n="$count" -v done="$converted" -v kb="$((bytes / 1024))" -v q="$q" -v c="$c" 'BEGIN {
  printf "many files: %d files (%d KB, %d converted)\n", n, kb, done
  printf "  quillet -q FILE...  %8.1f ms  %8.0f files/s\n", q / 1000, n / (q / 1e6)
  printf "  cp FILE... dest/    %8.1f ms  %8.0f files/s\n", c / 1000, n / (c / 1e6)
  printf "  ratio               %8.2f x\n", q / c }'

cd "$work"
rm -rf "$work/out" "$work/copy"
generate_full full.crn
run_auto() { "$quillet" -q full.crn; }
run_given() { "$quillet" -q -t 1 full.crn; }
run_auto
alternate "$runs" run_auto run_given a.times g.times
a=$(median < a.times)
g=$(median < g.times)
awk -v a="$a" -v g="$g" 'BEGIN {
  printf "full input (1500 x 8000): type auto %.1f ms, type 1 given %.1f ms, ratio %.2f x\n",
         a / 1000, g / 1000, a / g }'
machine_line
