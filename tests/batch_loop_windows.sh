#!/usr/bin/env bash
# Runs the Windows batch loop of the README, as it stands there, under wine's cmd over the
# examples, with the Windows build, and checks the CRONOL example it converted.
#
#   batch_loop_windows.sh <quillet.exe> <source folder>
set -u
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir"/examples/* "$exe" "$work/"
awk '/<!-- batch-loop-windows -->/ { found = 1; next }
     found && /^```bat$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { printf "%s\r\n", $0 }' "$source_dir/README.md" > "$work/convert.bat"
[ -s "$work/convert.bat" ] || { echo "no Windows batch loop found in the README"; exit 1; }

(cd "$work" && wine cmd /c convert.bat) || { echo "the batch loop failed"; exit 1; }
golden=$source_dir/tests/golden/type1_cronol/expected/files/ring01_COL
cmp -s <(sed 's/$/\r/' "$golden") "$work/ring01_COL" || { echo "ring01_COL differs"; exit 1; }
tail -n 1 "$work/ring01.log" | grep -q "Normal Termination of Program Quillet" ||
  { echo "ring01.log does not end normally"; exit 1; }
echo "batch loop under cmd: ok"
