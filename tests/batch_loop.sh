#!/usr/bin/env bash
# Runs the batch loop of the README, as it stands there, over the examples and a file that
# fails, and checks that it converted the three examples exactly as the golden cases say, that
# each log holds both streams, and that a pattern matching no file is passed over.
#
#   batch_loop.sh <quillet binary> <source folder>
set -u
binary_dir=$(cd "$(dirname "$1")" && pwd)
source_dir=$(cd "$2" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir"/examples/ring01.crn "$source_dir"/examples/site.ind "$source_dir"/examples/slopes.mst "$work/"
printf 'H\nH\nH\nCUT0011900 500  1\n' > "$work/cut.crn"  # no end marker: a warning
# The loop is the shell block that follows the "batch-loop" marker in the README.
awk '/<!-- batch-loop -->/ { found = 1; next }
     found && /^```sh$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' "$source_dir/README.md" > "$work/loop.sh"
[ -s "$work/loop.sh" ] || { echo "no batch loop found in the README"; exit 1; }

(cd "$work" && PATH="$binary_dir:$PATH" sh loop.sh > loop.out 2>&1) ||
  { echo "the loop failed"; cat "$work/loop.out"; exit 1; }
[ -s "$work/loop.out" ] && { echo "the loop said:"; cat "$work/loop.out"; exit 1; }
rm "$work/loop.out"

failed=0
for pair in ring01_COL:type1_cronol site_COL:type2_index slopes_COL:type6_master; do
  file=${pair%%:*}
  golden=$source_dir/tests/golden/${pair#*:}/expected/files/$file
  cmp -s "$golden" "$work/$file" || { echo "$file differs from $golden"; failed=1; }
done
for log in ring01.log site.log slopes.log cut.log; do
  tail -n 1 "$work/$log" | grep -q "Normal Termination of Program Quillet" ||
    { echo "$log does not end normally"; failed=1; }
done
grep -q "^ Warning: the input ends inside series 1" "$work/cut.log" ||
  { echo "cut.log lacks the warning from the error stream"; failed=1; }
[ "$(cd "$work" && ls *.log | tr '\n' ' ')" = "cut.log ring01.log site.log slopes.log " ] ||
  { echo "unexpected logs: $(cd "$work" && ls *.log)"; failed=1; }

# A folder of CRONOL files only: the other patterns make no log and no false failure; the
# failure of a file is said, and its log holds the error report.
find "$work" -mindepth 1 ! -name loop.sh -delete
mkdir "$work/bad.crn"  # a folder: its input cannot be opened
(cd "$work" && PATH="$binary_dir:$PATH" sh loop.sh > loop.out 2>&1)
[ "$(cat "$work/loop.out")" = "bad.crn failed, see bad.log" ] ||
  { echo "the loop said: $(cat "$work/loop.out")"; failed=1; }
grep -q "^? " "$work/bad.log" || { echo "bad.log lacks the error report"; failed=1; }
[ "$(cd "$work" && ls)" = "$(printf 'bad.crn\nbad.log\nloop.out\nloop.sh')" ] ||
  { echo "unexpected files: $(cd "$work" && ls | tr '\n' ' ')"; failed=1; }
exit "$failed"
