#!/usr/bin/env bash
# A 1 GB input line without a line end (streamed through a FIFO, so it needs no disk) must
# convert in bounded memory: peak resident memory under 64 MB. Prints the peak it measured.
#
#   one_gigabyte_line.sh <quillet binary>
set -u
binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
timer=/usr/bin/time
[ -x "$timer" ] || { echo "needs GNU time (Debian package time)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkfifo huge.crn
(head -c 1073741824 /dev/zero | tr '\0' 'x') > huge.crn &

printf 'huge.crn\n1\n' | "$timer" -f '%M' -o peak_kb "$binary" > stdout 2> stderr
status=$?
wait

peak_kb=$(tail -n 1 peak_kb)
echo "peak resident memory: ${peak_kb} KB"
failed=0
[ "$status" = 0 ] || { echo "exit status $status, expected 0"; failed=1; }
[ "$peak_kb" -lt 65536 ] || { echo "peak memory ${peak_kb} KB is not under 64 MB"; failed=1; }
expected_warnings=" Warning: the input ends inside series 1, before its end marker; that series is not converted
 Warning: no series was read from the input; the column file holds only its header line"
[ "$(cat stderr)" = "$expected_warnings" ] || { echo "unexpected error stream:"; head -c 500 stderr; failed=1; }
[ "$(cat huge_COL)" = " Year	N" ] || { echo "unexpected column file"; failed=1; }
exit "$failed"
