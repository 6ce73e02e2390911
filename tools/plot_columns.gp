# Plots a Quillet column file: each series against the year, and N, the counts beside the
# first series' values, as steps on an axis of its own.
#
#   gnuplot -e "infile='ring01_COL'; outfile='ring01.png'" plot_columns.gp
#
# Up to six series share one panel; from seven to 24 each has a small panel of its own, one
# above the other over the same years; of more than 24 the first 24 are drawn and the title
# says how many were left out. The value axis follows the data.
#
# The first line is the names only, even a name that reads as a number. Missing cells are
# left out. A cell that is not a number (the command line's --missing text,
# such as NA, or an empty cell) is missing. A table without such cells cannot tell a missing
# year from a value of 0.000, so there the zeros before a series' first and after its last
# nonzero value are taken as missing; a 0.000 between them is drawn, as it can be a real value
# (a locally absent ring, an index of 0). The x axis runs over the years in which some series
# drawn has a value.
#
# Needs gnuplot 5 with the pngcairo terminal (Debian: gnuplot-nox) and a POSIX shell with awk
# (the file is looked over with awk before gnuplot reads it).
if (!exists("infile")) {
  print "usage: gnuplot -e \"infile='x_COL'; outfile='x.png'\" plot_columns.gp"
  exit status 1
}
if (!exists("outfile")) { outfile = infile . ".png" }

# gnuplot's own statistics stop with an error on a file without data lines: look first. The
# awk program prints the number of columns, of lines, whether a series cell of the first 24
# series is not a number, and the first series' name without its trailing blanks.
max_series = 24
shape = system("awk -F '\t' -v max=" . max_series . " '" . \
  "NR == 1 { columns = NF; name = $3; sub(/ +$/, \"\", name); gsub(/ /, \"_\", name) } " . \
  "NR > 1 { for (i = 3; i <= NF && i <= max + 2; ++i) " . \
  "  if ($i !~ /^ *-?[0-9]+\\.[0-9]+$/ && $i !~ /^\\*+$/) marked = 1 } " . \
  "END { print columns + 0, NR, marked + 0, (name == \"\" ? \"-\" : name) }' '" . \
  infile . "' 2>/dev/null")
if (words(shape) < 4) { print infile . ": cannot read the file"; exit status 1 }
ncol = int(word(shape, 1))
nlines = int(word(shape, 2))
marked = int(word(shape, 3))
first_name = word(shape, 4)
if (ncol < 3) { print infile . " holds no series: nothing to plot"; exit status 1 }
if (nlines < 2) { print infile . " holds no years (its series have no values): nothing to plot"; exit status 1 }

nseries = ncol - 2
shown = nseries < max_series ? nseries : max_series
last_col = shown + 2

set datafile separator "\t"
# The first line holds the names, whatever they look like (a series may be named 343099).
if (GPVAL_VERSION >= 5.4) { set datafile columnheaders }
# A cell's number, or NaN when it is not one (a missing text, or asterisks).
number(i) = valid(i) ? column(i) : NaN
is_value(i) = valid(i) && column(i) != 0

# Each series' first and last year with a nonzero value.
array first_year_of[shown]
array last_year_of[shown]
any_value = 0
do for [k = 1:shown] {
  undefine STATS_*
  stats infile using (is_value(k + 2) ? $1 : NaN) nooutput
  if (exists("STATS_records") && STATS_records > 0) {
    first_year_of[k] = STATS_min
    last_year_of[k] = STATS_max
    if (any_value == 0 || STATS_min < first_year) { first_year = STATS_min }
    if (any_value == 0 || STATS_max > last_year) { last_year = STATS_max }
    any_value = 1
  } else {
    first_year_of[k] = 1e9
    last_year_of[k] = -1e9
  }
}
if (!any_value) {
  print infile . " holds only 0.000: nothing to plot"
  exit status 1
}

# The value of series k in a row, or NaN where it is missing.
series_value(k) = (v = number(k + 2), marked ? v : \
            ($1 >= first_year_of[k] && $1 <= last_year_of[k] ? v : NaN))

# Colours that read on white (no yellow), told apart by those who confuse red and green.
array colour[6] = ["#0072B2", "#D55E00", "#009E73", "#CC79A7", "#E69F00", "#000000"]
n_title = sprintf("N (%s)", first_name)
plot_title = infile
if (nseries > shown) {
  plot_title = sprintf("%s: the first %d of %d series (%d left out)", \
                       infile, shown, nseries, nseries - shown)
}

print sprintf("%s: %d of %d series in %d panel%s, N (%s) as steps, %d-%d", infile, shown, \
              nseries, shown <= 6 ? 1 : shown, shown <= 6 ? "" : "s", first_name, \
              first_year, last_year)

set xrange [first_year - 0.5 : last_year + 0.5]
set y2range [0:*]
set grid xtics ytics
set ytics nomirror
set y2tics

if (shown <= 6) {
  set terminal pngcairo size 1000,560 font "sans,10"
  set output outfile
  set title plot_title noenhanced
  set xlabel "Year"
  set ylabel "Value"
  set y2label "N"
  set key outside right top noenhanced
  # N holds for a whole year: a step from half a year before to half a year after it.
  plot infile using 1:2 axes x1y2 with histeps lw 1.5 \
         lc rgb "#a0a0a0" title n_title, \
       for [k = 1:shown] infile using 1:(series_value(k)) with lines lw 1.5 \
         lc rgb colour[(k - 1) % 6 + 1] title columnhead(k + 2)
} else {
  panel = 110
  set terminal pngcairo size 1000, (90 + panel * shown) font "sans,9"
  set output outfile
  set multiplot layout shown, 1 title plot_title noenhanced
  set lmargin 9
  set rmargin 9
  set key inside left top noenhanced nobox opaque
  set format x ""
  # A step between value tics that gives about three of them over a range.
  nice_step(r) = (e = 10 ** floor(log10(r / 3)), r / 3 / e < 2 ? e : (r / 3 / e < 5 ? 2 * e : 5 * e))
  do for [k = 1:shown] {
    undefine STATS_*
    # With the year beside it: the header line, whose year is " Year", is never a value.
    stats infile using 1:(series_value(k)) nooutput
    if (exists("STATS_records") && STATS_records > 0 && STATS_max_y > STATS_min_y) {
      set ytics nice_step(STATS_max_y - STATS_min_y)
    } else {
      set ytics autofreq
    }
    set tmargin (k == 1 ? 2.5 : 0.3)
    set bmargin (k == shown ? 3 : 0.3)
    if (k == shown) { set format x "%g"; set xlabel "Year" }
    if (k == 1) {
      set y2tics
      plot infile using 1:2 axes x1y2 with histeps lw 1.5 \
             lc rgb "#a0a0a0" title n_title, \
           infile using 1:(series_value(k)) with lines lw 1.2 lc rgb colour[1] title columnhead(k + 2)
    } else {
      unset y2tics
      plot infile using 1:(series_value(k)) with lines lw 1.2 lc rgb colour[(k - 1) % 6 + 1] \
             title columnhead(k + 2)
    }
  }
  unset multiplot
}
