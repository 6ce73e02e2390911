#!/usr/bin/env bash
# Runs the README's command line for many files, as it stands there, over the examples and a
# file that fails, and checks that it converted the examples exactly as the golden cases say,
# said one line for each, named the failed file on the error stream and ended with status 1.
#
#   many_files.sh <quillet binary> <source folder>
set -u
binary_dir=$(cd "$(dirname "$1")" && pwd)
source_dir=$(cd "$2" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir"/examples/ring01.crn "$source_dir"/examples/site.ind \
  "$source_dir"/examples/slopes.mst "$work/"
printf 'BAD   1900 1x00  1\n' > "$work/bad.crn"
# The command is the shell block that follows the "many-files" marker in the README.
awk '/<!-- many-files -->/ { found = 1; next }
     found && /^```sh$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' "$source_dir/README.md" > "$work/many.sh"
[ -s "$work/many.sh" ] || { echo "no many-files command found in the README"; exit 1; }

(cd "$work" && PATH="$binary_dir:$PATH" sh many.sh > out 2> err)
status=$?
failed=0
[ "$status" = 1 ] || { echo "exit status $status, expected 1 (one file not converted)"; failed=1; }
expected_out="ring01.crn -> ring01_COL: 2 series, 1850-1879, file type 1
site.ind -> site_COL: 2 series, 1901-1945, file type 2
slopes.mst -> slopes_COL: 2 series, 1695-1734, file type 6"
[ "$(cat "$work/out")" = "$expected_out" ] || { echo "it said:"; cat "$work/out"; failed=1; }
grep -q "^bad.crn:1: error: as file type 0: data cannot be read in columns 11-14: \" 1x0\"$" \
  "$work/err" || { echo "the error stream:"; cat "$work/err"; failed=1; }
for pair in ring01_COL:type1_cronol site_COL:type2_index slopes_COL:type6_master; do
  file=${pair%%:*}
  golden=$source_dir/tests/golden/${pair#*:}/expected/files/$file
  cmp -s "$golden" "$work/$file" || { echo "$file differs from $golden"; failed=1; }
done
[ -e "$work/bad_COL" ] && { echo "bad.crn left a column file"; failed=1; }
[ "$(cd "$work" && ls | tr '\n' ' ')" = "bad.crn err many.sh out ring01.crn ring01_COL site.ind site_COL slopes.mst slopes_COL " ] ||
  { echo "unexpected files: $(cd "$work" && ls | tr '\n' ' ')"; failed=1; }
[ "$failed" = 0 ] && echo "the README's command line for many files: ok"
exit "$failed"
