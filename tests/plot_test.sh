#!/usr/bin/env bash
# Converts two examples with the real binary and plots their column files with
# tools/plot_columns.gp (each must give a PNG), then checks that a column file without series
# and one without years get the script's own message and no picture. Skipped (77) without
# gnuplot.
#
#   plot_test.sh <quillet binary> <source folder>
set -u
binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
command -v gnuplot >/dev/null || { echo "gnuplot is not installed (Debian: gnuplot-nox)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$source_dir/examples/ring01.crn" "$source_dir/examples/valley.crn" "$work/"
cd "$work" || exit 1
failed=0
plot() {  # plot <column file>: the script's status; its messages go to <column file>.said
  gnuplot -e "infile='$1'; outfile='$1.png'" "$source_dir/tools/plot_columns.gp" > "$1.said" 2>&1
}
for name in ring01 valley; do
  printf '%s.crn\n1\n' "$name" | "$binary" > /dev/null || { echo "$name did not convert"; exit 1; }
  plot "${name}_COL" || { echo "gnuplot failed on ${name}_COL:"; cat "${name}_COL.said"; failed=1; }
  [ "$(head -c 8 "${name}_COL.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
    { echo "${name}_COL.png is not a PNG"; failed=1; }
  echo "${name}_COL.png: $(stat -c %s "${name}_COL.png" 2>/dev/null) bytes"
done

printf ' Year\tN\n' > none_COL
printf ' Year\tN\tEMPTY1  \n' > empty_COL
for pair in "none_COL:none_COL holds no series: nothing to plot" \
            "empty_COL:empty_COL holds no years (its series have no values): nothing to plot"; do
  file=${pair%%:*}
  if plot "$file"; then echo "$file: the script did not stop"; failed=1; fi
  [ "$(cat "$file.said")" = "${pair#*:}" ] || { echo "$file: the script said: $(cat "$file.said")"; failed=1; }
  [ -e "$file.png" ] && { echo "$file: a picture was made"; failed=1; }
done
exit "$failed"
