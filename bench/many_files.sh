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
folder=${2:-}

cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DQUILLET_TESTS=OFF > /dev/null
cmake --build build-release -j --target quillet quillet_generate > /dev/null
quillet=$(pwd)/build-release/quillet
generate=$(pwd)/build-release/quillet_generate

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -z "$folder" ]; then
  folder=$work/files
  mkdir "$folder"
  for ((i = 0; i < 2000; i++)); do
    "$generate" --series $((1 + i % 4)) --min-length 100 --max-length 600 --first-year 1500 \
      --last-first-year 1900 --type 1 --seed "$i" --out "$folder/site$i.crn"
  done
fi
folder=$(cd "$folder" && pwd)
mapfile -t files < <(cd "$folder" && find . -maxdepth 1 -type f ! -name '*_COL' | sort)
count=${#files[@]}
bytes=$(cd "$folder" && cat "${files[@]}" | wc -c)

now() { echo "${EPOCHREALTIME/./}"; }  # microseconds, without starting a process
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Each run writes into a folder of its own, so that both create every file anew (a column file
# is always a new file, put in place by a rename); the folders are removed untimed.
run_quillet() { (cd "$folder" && "$quillet" -q -o "$work/out" "${files[@]}" 2> /dev/null) || true; }
run_copy() { (cd "$folder" && cp "${files[@]}" "$work/copy/"); }
fresh() { rm -rf "$work/out" "$work/copy"; mkdir "$work/out" "$work/copy"; }
fresh; run_quillet; run_copy
: > "$work/q.times"
: > "$work/c.times"
for ((i = 0; i < runs; i++)); do
  fresh
  if ((i % 2 == 0)); then
    t0=$(now); run_quillet; t1=$(now); run_copy; t2=$(now)
    echo $((t1 - t0)) >> "$work/q.times"; echo $((t2 - t1)) >> "$work/c.times"
  else
    t0=$(now); run_copy; t1=$(now); run_quillet; t2=$(now)
    echo $((t1 - t0)) >> "$work/c.times"; echo $((t2 - t1)) >> "$work/q.times"
  fi
done
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
sync  # the files written above are not to be written back while the next part is timed
"$generate" --series 1500 --min-length 8000 --max-length 8000 --first-year 1000 \
  --last-first-year 1000 --seed 1 --out full.crn
"$quillet" -q full.crn
: > a.times
: > g.times
for ((i = 0; i < runs; i++)); do
  if ((i % 2 == 0)); then
    t0=$(now); "$quillet" -q full.crn; t1=$(now); "$quillet" -q -t 1 full.crn; t2=$(now)
    echo $((t1 - t0)) >> a.times; echo $((t2 - t1)) >> g.times
  else
    t0=$(now); "$quillet" -q -t 1 full.crn; t1=$(now); "$quillet" -q full.crn; t2=$(now)
    echo $((t1 - t0)) >> g.times; echo $((t2 - t1)) >> a.times
  fi
done
a=$(median < a.times)
g=$(median < g.times)
awk -v a="$a" -v g="$g" 'BEGIN {
  printf "full input (1500 x 8000): type auto %.1f ms, type 1 given %.1f ms, ratio %.2f x\n",
         a / 1000, g / 1000, a / g }'
echo "$(date -u +%Y-%m-%d), $(nproc) cores, $(uname -m), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
