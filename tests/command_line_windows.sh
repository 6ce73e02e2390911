#!/usr/bin/env bash
# The command line of the Windows build under wine: cmd leaves wildcards to the program, so
# `quillet.exe -q *.crn` must convert every file itself; a name outside code page 1252
# (年輪.crn) must arrive whole as an argument; a table on standard output keeps CR LF (binary
# mode, no CR added). Each column file must be the dialogue's, with CR LF line ends.
#
#   command_line_windows.sh <quillet.exe> <source folder>
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
failed=0
check() {  # check <what> <command status> <condition status>
  if [ "$2" = 0 ] && [ "$3" = 0 ]; then echo "$1: ok"; else echo "$1: failed"; failed=1; fi
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$exe" .
cp "$source_dir/examples/ring01.crn" ring01.crn
cp "$source_dir/examples/valley.crn" valley.crn
cp "$source_dir/examples/ring01.crn" "年輪.crn"
ring01=$(sed 's/$/\r/' "$source_dir/tests/golden/type1_cronol/expected/files/ring01_COL")

wine cmd /c "quillet.exe -q *.crn" > run.out 2>&1
status=$?
[ -f valley_COL ] && [ "$(cat ring01_COL)" = "$ring01" ] && [ "$(cat 年輪_COL)" = "$ring01" ]
check "quillet.exe -q *.crn through cmd" "$status" $?
[ -s run.out ] && { echo "unexpected output:"; cat run.out; failed=1; }

rm -f ./*_COL
wine quillet.exe "年輪.crn" > run.out 2>&1
status=$?
[ "$(cat 年輪_COL)" = "$ring01" ] && grep -q "年輪.crn -> 年輪_COL: 2 series, 1850-1879, file type 1" run.out
check "a name outside code page 1252 as an argument" "$status" $?

wine quillet.exe -t 1 - < ring01.crn > table.out 2> run.err
status=$?
[ "$(cat table.out)" = "$ring01" ]
check "a table on standard output with CR LF" "$status" $?
exit "$failed"
