#!/usr/bin/env bash
# Runs the batch loop of the README, as it stands there, over the examples, and checks that
# it converted all three files exactly as the golden cases say.
#
#   batch_loop.sh <quillet binary> <source folder>
set -u
binary_dir=$(cd "$(dirname "$1")" && pwd)
source_dir=$(cd "$2" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir"/examples/* "$work/"
# The loop is the shell block that follows the "batch-loop" marker in the README.
awk '/<!-- batch-loop -->/ { found = 1; next }
     found && /^```sh$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' "$source_dir/README.md" > "$work/loop.sh"
[ -s "$work/loop.sh" ] || { echo "no batch loop found in the README"; exit 1; }

(cd "$work" && PATH="$binary_dir:$PATH" sh loop.sh) || { echo "the loop failed"; exit 1; }

failed=0
for pair in ring01_COL:type1_cronol site_COL:type2_index slopes_COL:type6_master; do
  file=${pair%%:*}
  golden=$source_dir/tests/golden/${pair#*:}/expected/files/$file
  cmp -s "$golden" "$work/$file" || { echo "$file differs from $golden"; failed=1; }
done
for log in "$work"/*.log; do
  tail -n 1 "$log" | grep -q "Normal Termination of Program Quillet" ||
    { echo "$(basename "$log") does not end normally"; failed=1; }
done
[ "$(ls "$work"/*.log | wc -l)" = 3 ] || { echo "expected three logs"; failed=1; }
exit "$failed"
