#!/usr/bin/env bash
# Runs the README's conversion with --missing NA and its R, csv and pandas snippets ("Reading
# the table elsewhere"), as they stand there, on the column files of the three examples, and
# checks the tables they make: trimmed names, numeric columns, and a missing year as a missing
# value.
#
#   read_elsewhere.sh <quillet binary> <source folder>
#
# Needs Rscript (Debian: r-base-core) and a python3 with pandas (Debian: python3-pandas);
# skipped (77) without them. CI installs both.
set -u
binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
python=python3
/usr/bin/python3 -c 'import pandas' 2>/dev/null && python=/usr/bin/python3
command -v Rscript >/dev/null || { echo "Rscript is not installed (Debian: r-base-core)"; exit 77; }
"$python" -c 'import pandas' 2>/dev/null ||
  { echo "pandas is not installed (Debian: python3-pandas)"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
snippet() {  # the fenced block behind the marker <!-- $1 --> in the README
  awk -v marker="<!-- $1 -->" '$0 == marker { found = 1; next }
       found && /^```/ && !inside { inside = 1; next }
       inside && /^```$/ { exit }
       inside { print }' "$source_dir/README.md"
}

# The conversion as the README gives it, for each of the three examples.
PATH=$(dirname "$binary"):$PATH
for input in ring01.crn site.ind slopes.mst; do
  cp "$source_dir/examples/$input" .
  (snippet convert-missing | sed "s/ring01.crn/$input/" | sh > /dev/null) ||
    { echo "$input did not convert"; exit 1; }
done

failed=0
check() {  # check <what> <expected> <actual>
  if [ "$2" != "$3" ]; then
    echo "$1:"
    diff <(echo "$2") <(echo "$3")
    failed=1
  fi
}

# Each snippet prints, for its table: the names, the number of rows, and the first row (NA,
# None or nan for a missing value). Per file: the names, the rows, and the first row as R, csv
# and pandas show it.
while IFS='|' read -r file names rows r_row csv_row pandas_row; do
  r_out=$( (snippet read-r | sed "s/ring01_COL/$file/" | grep -v '^head(col)$'
            echo 'cat(names(col), sep = ","); cat("", nrow(col), all(sapply(col, is.numeric)), "\n")'
            echo 'cat(unlist(col[1, ]), "\n")') | Rscript - 2>&1)
  csv_out=$( (snippet read-python-csv | sed "s/ring01_COL/$file/"
              echo 'print(",".join(names), len(table), table[0])') | "$python" - 2>&1)
  pandas_out=$( (snippet read-pandas | sed "s/ring01_COL/$file/"
                 echo 'print(",".join(col.columns), len(col), list(col.dtypes.map(str)))'
                 echo 'print(col.iloc[0].tolist())') | "$python" - 2>&1)
  check "R on $file" "$names $rows TRUE "$'\n'"$r_row " "$r_out"
  check "csv on $file" "$names $rows $csv_row" "$csv_out"
  check "pandas on $file" "$names $rows ['int64', 'int64', 'float64', 'float64']"$'\n'"$pandas_row" \
    "$pandas_out"
done <<'EOF'
ring01_COL|Year,N,RING01,RING02|30|1850 3 1.031 NA|[1850, 3, 1.031, None]|[1850.0, 3.0, 1.031, nan]
site_COL|Year,N,CORE1A,CORE2B|45|1901 1 0.91 NA|[1901, 1, 0.91, None]|[1901.0, 1.0, 0.91, nan]
slopes_COL|Year,N,MSOUTH,MNORTH|40|1695 0 NA 0.967|[1695, 0, None, 0.967]|[1695.0, 0.0, nan, 0.967]
EOF
[ "$failed" = 0 ] && echo "R, csv and pandas read the three column files"
exit "$failed"
