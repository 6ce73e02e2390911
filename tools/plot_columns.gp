# Plots a Quillet column file: every series against the year, and N as a grey area on a
# second axis.
#
#   gnuplot -e "infile='ring01_COL'; outfile='ring01.png'" plot_columns.gp
#
# The column file cannot tell a missing year from a value of 0.000, so zeros are left out of
# the series' lines (they would otherwise pull every line down to the axis before a series
# begins and after it ends), and the x axis runs over the years in which some series has a
# value. Needs gnuplot 5 with the pngcairo terminal (Debian: gnuplot-nox) and a POSIX shell
# (the file's lines are counted with awk before gnuplot reads them).
if (!exists("infile")) {
  print "usage: gnuplot -e \"infile='x_COL'; outfile='x.png'\" plot_columns.gp"
  exit status 1
}
if (!exists("outfile")) { outfile = infile . ".png" }

# gnuplot's own statistics stop with an error on a file without data lines: count first.
shape = system("awk -F '\t' 'NR == 1 { print NF } END { print NR }' '" . infile . "' 2>/dev/null")
if (words(shape) < 2) { print infile . ": cannot read the file"; exit status 1 }
ncol = int(word(shape, 1))
nlines = int(word(shape, 2))
if (ncol < 3) { print infile . " holds no series: nothing to plot"; exit status 1 }
if (nlines < 2) { print infile . " holds no years (its series have no values): nothing to plot"; exit status 1 }

set datafile separator "\t"
# The years in which at least one series has a value other than 0.000.
row_has_value(n) = sum [i = 3:n] (column(i) != 0)
stats infile using (row_has_value(ncol) > 0 ? $1 : NaN) nooutput
if (!exists("STATS_records") || STATS_records == 0) {
  print infile . " holds only 0.000: nothing to plot"
  exit status 1
}
first_year = STATS_min
last_year = STATS_max

set terminal pngcairo size 1000,560 font "sans,10"
set output outfile
set title infile noenhanced
set xlabel "Year"
set ylabel "Value"
set y2label "N"
set y2tics
set ytics nomirror
set xrange [first_year - 0.5 : last_year + 0.5]
set yrange [0:*]
set y2range [0:*]
set key outside right top noenhanced
set grid xtics ytics

# N as one filled area (a single polygon: no seams between single-year bars show as stripes).
plot infile using 1:2 axes x1y2 with filledcurves x1 fs solid 0.25 noborder lc rgb "#b0b0b0" title "N", \
     for [i=3:ncol] infile using 1:(column(i) == 0 ? NaN : column(i)) with lines lw 1.5 title columnhead(i)
