#!/usr/bin/env bash
# Redraws the pictures the README shows (docs/ring01.png, docs/valley.png, docs/ridge.png):
# converts the three examples with the program and plots their column files with
# tools/plot_columns.gp. Nothing else in the tree is touched.
#
#   tools/redraw_pictures.sh [quillet binary]   (default: build/quillet, built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
quillet=${1:-build/quillet}
if [ ! -x "$quillet" ]; then
  cmake -S . -B build > /dev/null && cmake --build build -j --target quillet > /dev/null
fi
quillet=$(cd "$(dirname "$quillet")" && pwd)/$(basename "$quillet")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for name in ring01 valley ridge; do
  cp "examples/$name.crn" "$work/"
  (cd "$work" && "$quillet" -q "$name.crn")
  # The title names the column file as a user's own command would.
  (cd "$work" && gnuplot -e "infile='${name}_COL'; outfile='$name.png'" \
    "$OLDPWD/tools/plot_columns.gp")
  cp "$work/$name.png" "docs/$name.png"
done
