#!/usr/bin/env bash
# Names beyond ASCII on the Windows build, under wine: the name conversions' own check, then a
# name piped in UTF-8 and a name piped in the ANSI code page through cmd, as a batch file
# written on a Western Windows holds it. Each must convert to the column file of the
# matching name. (A console window's own keyboard is not reached under wine.)
#
#   windows_names.sh <build-windows folder> <source folder>
set -u
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
failed=0
wine "$build/quillet_windows_names_test.exe" | tr -d '\r' || failed=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
cp "$build/quillet.exe" .
expected=$source_dir/tests/golden/type1_cronol/expected/files/ring01_COL
for way in utf8 ansi; do
  rm -f ./*_COL
  cp "$source_dir/examples/ring01.crn" "données.crn"
  if [ "$way" = utf8 ]; then
    printf 'donn\xc3\xa9es.crn\n1\n' | wine quillet.exe > run.out 2>&1
  else
    printf 'donn\xe9es.crn\r\n1\r\n' > answers.txt
    wine cmd /c "quillet.exe < answers.txt" > run.out 2>&1
  fi
  status=$?
  if [ "$status" = 0 ] && cmp -s <(sed 's/$/\r/' "$expected") "données_COL"; then
    echo "a name piped in $way: ok"
  else
    echo "a name piped in $way: status $status, files: $(ls | tr '\n' ' ')"
    tail -n 5 run.out
    failed=1
  fi
done
exit "$failed"
