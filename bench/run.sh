#!/usr/bin/env bash
# Measures Quillet against the I/O floor on generated inputs and prints a table.
#
#   bench/run.sh [runs]      (default 9 paired runs per input)
#
# Builds Release into build-release, generates the inputs into a temporary folder, and for
# each input alternates a Quillet run (answers piped in, relative input name, column file
# written beside the input, exactly as a user runs it) with the I/O floor (reading the input
# and writing a file of the column file's size, as one command). Prints the median wall times,
# their ratio and Quillet's peak resident memory (GNU time).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}

if [ ! -x /usr/bin/time ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  $sudo_cmd apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq time
fi

# shellcheck source=bench/common.sh
source bench/common.sh
cd "$work"
generate_full full.crn
"$generate" --series 1500 --min-length 100 --max-length 4000 --first-year 1000 \
  --last-first-year 5000 --seed 2 --out mixed.crn
"$generate" --series 1 --min-length 100 --max-length 100 --first-year 1900 \
  --last-first-year 1900 --seed 3 --out one.crn

run_quillet() { printf '%s\n1\n' "$input.crn" | "$quillet" > /dev/null; }
run_floor() {
  cat "$input.crn" > /dev/null &&
    dd if=/dev/zero of=floor.out bs=1M count="$size" iflag=count_bytes status=none
}

printf '\n%-6s %10s %10s %7s %10s %10s\n' input quillet floor ratio "peak mem" "input"
for input in full mixed one; do
  run_quillet  # warm the cache and learn the column file's size
  size=$(stat -c %s "${input}_COL")
  alternate "$runs" run_quillet run_floor q.times f.times
  peak_kb=$(printf '%s\n1\n' "$input.crn" | /usr/bin/time -f '%M' "$quillet" 2>&1 > /dev/null | tail -n 1)
  q=$(median < q.times)
  f=$(median < f.times)
  awk -v name="$input" -v q="$q" -v f="$f" -v kb="$peak_kb" -v bytes="$(stat -c %s "$input.crn")" \
    'BEGIN { printf "%-6s %8.1f ms %7.1f ms %6.2fx %7.1f MB %7.1f MB\n",
             name, q / 1000, f / 1000, q / f, kb / 1024, bytes / 1048576 }'
done
echo
machine_line
