# Plots a Quillet column file: every series against the year, and N as bars on a second axis.
#
#   gnuplot -e "infile='ring01_COL'; outfile='ring01.png'" plot_columns.gp
#
# The column file cannot tell a missing year from a value of 0.000, so zeros are left out of
# the series' lines (they would otherwise pull every line down to the axis before a series
# begins and after it ends).
if (!exists("infile")) { print "usage: gnuplot -e \"infile='x_COL'; outfile='x.png'\" plot_columns.gp"; exit status 1 }
if (!exists("outfile")) { outfile = infile . ".png" }

set datafile separator "\t"
stats infile using 1 nooutput
ncol = STATS_columns
if (ncol < 3) { print infile . " holds no series"; exit status 1 }

set terminal pngcairo size 1000,560 font "sans,10"
set output outfile
set title infile noenhanced
set xlabel "Year"
set ylabel "Value"
set y2label "N"
set y2tics
set ytics nomirror
set yrange [0:*]
set y2range [0:*]
set key outside right top noenhanced
set style fill solid 0.25 noborder
set grid xtics ytics

plot infile using 1:2 axes x1y2 with boxes lc rgb "#b0b0b0" title "N", \
     for [i=3:ncol] infile using 1:(column(i) == 0 ? NaN : column(i)) with lines lw 1.5 title columnhead(i)
