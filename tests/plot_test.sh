#!/usr/bin/env bash
# Converts the three examples with the real binary and plots their column files with
# tools/plot_columns.gp: each must give a PNG and the script's line saying what it drew (one
# panel up to six series, one per series from seven). Then a table of 30 series (the first 24
# drawn), a table with --missing NA, one whose series are named with numbers, and the
# script's own message for a column file without series, one without years, and one of zeros
# only. Skipped (77) without gnuplot.
#
#   plot_test.sh <quillet binary> <source folder>
set -u
binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
command -v gnuplot >/dev/null || { echo "gnuplot is not installed (Debian: gnuplot-nox)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/examples/ring01.crn" "$source_dir/examples/valley.crn" \
  "$source_dir/examples/ridge.crn" "$work/"
cd "$work" || exit 1
failed=0
plot() {  # plot <column file>: the script's status; what it says goes to <column file>.said
  gnuplot -e "infile='$1'; outfile='$1.png'" "$source_dir/tools/plot_columns.gp" > "$1.said" 2>&1
}
drawn() {  # drawn <column file> <what the script must say>
  plot "$1" || { echo "gnuplot failed on $1:"; cat "$1.said"; failed=1; return; }
  [ "$(cat "$1.said")" = "$2" ] || { echo "$1: the script said: $(cat "$1.said")"; failed=1; }
  [ "$(head -c 8 "$1.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
    { echo "$1.png is not a PNG"; failed=1; }
}
"$binary" -q ring01.crn valley.crn ridge.crn || { echo "the examples did not convert"; exit 1; }
drawn ring01_COL "ring01_COL: 2 of 2 series in 1 panel, N (RING01) as steps, 1850-1879"
drawn valley_COL "valley_COL: 4 of 4 series in 1 panel, N (VAL01S) as steps, 1488-1998"
drawn ridge_COL "ridge_COL: 8 of 8 series in 8 panels, N (RID01S) as steps, 1688-1999"

# 30 series: the first 24 are drawn, one panel each. The last year has values only in the
# series left out, so the years drawn end before it.
awk 'BEGIN { OFS = "\t"; printf " Year\tN"; for (i = 1; i <= 30; ++i) printf "\tS%02d     ", i
             print ""
             for (y = 1900; y <= 1950; ++y) { printf "%4d\t%4d", y, 1
               for (i = 1; i <= 30; ++i) printf "\t%6.3f", (y == 1950 && i <= 24) ? 0 : 1 + (y % 7) / 10
               print "" } }' > many_COL
drawn many_COL "many_COL: 24 of 30 series in 24 panels, N (S01) as steps, 1900-1949"
# Missing cells marked: a 0.000 inside a series' years is drawn, from the first year on.
"$binary" -q --missing NA ring01.crn && mv ring01_COL marked_COL
drawn marked_COL "marked_COL: 2 of 2 series in 1 panel, N (RING01) as steps, 1850-1879"

# Names that read as numbers, with NA cells: the header line is names only, so the panel of
# the last series (named 343099) is drawn over its own values (1.0-1.4), not up to 343099.
awk 'BEGIN { OFS = "\t"; printf " Year\tN"
             for (i = 1; i <= 7; ++i) printf "\t%s", i == 7 ? "343099  " : i == 6 ? "091519  " : "S0" i "     "
             print ""
             for (y = 1900; y <= 1910; ++y) { printf "%4d\t%4d", y, 7
               for (i = 1; i <= 7; ++i) printf "\t%s", (y == 1900 && i >= 6) ? "NA" : sprintf("%6.3f", 1 + (y % 5) / 10)
               print "" } }' > numeric_COL
drawn numeric_COL "numeric_COL: 7 of 7 series in 7 panels, N (S01) as steps, 1900-1910"
# The ranges of the last panel drawn (gnuplot's own record of its axes).
ranges=$(gnuplot -e "infile='numeric_COL'; outfile='numeric_COL.png'" \
  "$source_dir/tools/plot_columns.gp" -e 'print sprintf("%g %g %g %g", GPVAL_X_MIN, GPVAL_X_MAX, GPVAL_Y_MIN, GPVAL_Y_MAX)' 2>&1 | tail -n 1)
[ "$ranges" = "1899.5 1910.5 1 1.4" ] || { echo "numeric_COL: the last panel's ranges are $ranges"; failed=1; }

printf ' Year\tN\n' > none_COL
printf ' Year\tN\tEMPTY1  \n' > empty_COL
printf ' Year\tN\tZERO1   \n1900\t   1\t 0.000\n1901\t   1\t 0.000\n' > zeros_COL
for pair in "none_COL:none_COL holds no series: nothing to plot" \
            "empty_COL:empty_COL holds no years (its series have no values): nothing to plot" \
            "zeros_COL:zeros_COL holds only 0.000: nothing to plot"; do
  file=${pair%%:*}
  if plot "$file"; then echo "$file: the script did not stop"; failed=1; fi
  [ "$(grep -v 'No valid data points' "$file.said")" = "${pair#*:}" ] ||
    { echo "$file: the script said: $(cat "$file.said")"; failed=1; }
  [ -e "$file.png" ] && { echo "$file: a picture was made"; failed=1; }
done
[ "$failed" = 0 ] && echo "plots: ok"
exit "$failed"
