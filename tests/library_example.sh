#!/usr/bin/env bash
# The library as another program uses it: installs the build into an empty prefix, builds the
# example of docs/library.md (its C++ and CMake blocks, taken from the document) from a folder
# outside the source tree with only find_package(Quillet) and that prefix, and runs it:
#  - on the two files the document shows, printing exactly what it shows;
#  - on every file in examples/, each column file equal to the program's own.
#
#   library_example.sh <build folder> <source folder> <quillet program>
set -u
build_dir=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
quillet=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build_dir" --prefix "$work/prefix" > /dev/null || { echo "install failed"; exit 1; }

doc=$source_dir/docs/library.md
# The n-th fenced block of a language in the document.
block() {
  awk -v lang="$1" -v n="$2" 'inside { if ($0 == "```") { inside = 0; if (on) exit; next }
    if (on) print; next }
    /^```/ { inside = 1; if ($0 == "```" lang && ++k == n) on = 1 }' "$doc"
}
mkdir -p "$work/example"
block cpp 1 > "$work/example/list_series.cc"
block cmake 2 > "$work/example/CMakeLists.txt"
(cd "$work/example" && cmake -S . -B build -DCMAKE_PREFIX_PATH="$work/prefix" > build.log 2>&1 &&
  cmake --build build >> build.log 2>&1) || { cat "$work/example/build.log"; echo "the example did not build"; exit 1; }

failed=0
mkdir -p "$work/run" "$work/program"
cp "$source_dir"/examples/*.* "$work/run/"
cp "$source_dir"/examples/*.* "$work/program/"
(cd "$work/run" && "$work/example/build/list_series" ring01.crn slopes.mst > shown.txt) ||
  { echo "the example failed on the document's files"; failed=1; }
block "" 1 > "$work/expected.txt"
diff "$work/expected.txt" "$work/run/shown.txt" || { echo "the example printed otherwise than the document says"; failed=1; }

files=$(cd "$work/program" && ls)
(cd "$work/run" && "$work/example/build/list_series" $files > /dev/null) ||
  { echo "the example failed on examples/"; failed=1; }
(cd "$work/program" && "$quillet" -q $files) || { echo "the program failed on examples/"; failed=1; }
for table in "$work"/program/*_COL; do
  cmp -s "$table" "$work/run/$(basename "$table")" ||
    { echo "the example's $(basename "$table") differs from the program's"; failed=1; }
done
[ "$failed" = 0 ] && echo "the library's example: ok ($(echo $files | wc -w) files)"
exit "$failed"
