#!/usr/bin/env bash
# Converts an example with the real binary and plots the column file with
# tools/plot_columns.gp: the plot must be a non-empty PNG. Skipped (77) without gnuplot.
#
#   plot_test.sh <quillet binary> <source folder>
set -u
binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
command -v gnuplot >/dev/null || { echo "gnuplot is not installed (Debian: gnuplot-nox)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/examples/ring01.crn" "$work/"
cd "$work" || exit 1
printf 'ring01.crn\n1\n' | "$binary" > /dev/null || { echo "conversion failed"; exit 1; }
gnuplot -e "infile='ring01_COL'; outfile='ring01.png'" "$source_dir/tools/plot_columns.gp" ||
  { echo "gnuplot failed"; exit 1; }
[ -s ring01.png ] || { echo "no PNG written"; exit 1; }
[ "$(head -c 8 ring01.png | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
  { echo "ring01.png is not a PNG"; exit 1; }
echo "ring01.png: $(stat -c %s ring01.png) bytes"
