#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks the installed tree: every path the
# installed README names exists (relative to its own folder, or to the prefix), the manual
# page is there and passes the linter, the installed program converts an installed example,
# and the installed README's indented commands, run as they stand in an empty folder with
# PREFIX replaced by the prefix and PREFIX/bin on the PATH, succeed.
#
#   install_test.sh <build folder> <source folder>
set -u
build_dir=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" > /dev/null || { echo "install failed"; exit 1; }

failed=0
readme=$prefix/share/quillet/README.md
[ -f "$readme" ] || { echo "no installed README"; exit 1; }
# The paths the README names: backticked words with a "/" or a file name's dot in them.
while IFS= read -r path; do
  [ -e "$prefix/share/quillet/$path" ] || [ -e "$prefix/$path" ] ||
    { echo "the installed README names $path, which is not installed"; failed=1; }
done < <(grep -o '`[^` ]*[/.][^` ]*`' "$readme" | tr -d '`' | grep -v '_COL$' | sort -u)

man_page=$prefix/share/man/man1/quillet.1
[ -f "$man_page" ] || { echo "no manual page at share/man/man1/quillet.1"; failed=1; }
if command -v mandoc > /dev/null; then
  mandoc -T lint -W warning "$man_page" || { echo "the manual page has lint warnings"; failed=1; }
else
  echo "mandoc is not installed (Debian: mandoc): the manual page was not linted"
fi

work=$(mktemp -d)
cp "$prefix/share/quillet/examples/ring01.crn" "$work/"
(cd "$work" && printf 'ring01.crn\n1\n' | "$prefix/bin/quillet" > /dev/null) ||
  { echo "the installed program did not convert ring01.crn"; failed=1; }
cmp -s "$work/ring01_COL" "$source_dir/tests/golden/type1_cronol/expected/files/ring01_COL" ||
  { echo "the installed program's ring01_COL differs"; failed=1; }
rm -rf "$work"

# The README's commands: the indented lines, one command each.
work=$(mktemp -d)
while IFS= read -r command; do
  command=${command//PREFIX/$prefix}
  if ! (cd "$work" && PATH="$prefix/bin:$PATH" sh -c "$command" > "$work.out" 2>&1); then
    if [[ "$command" == gnuplot* ]] && ! command -v gnuplot > /dev/null; then
      echo "gnuplot is not installed: not run: $command"
      continue
    fi
    echo "the installed README's command failed: $command"
    cat "$work.out"
    failed=1
  fi
done < <(sed -n 's/^    \(.*\)$/\1/p' "$readme")
[ -f "$work/ring01_COL" ] || { echo "the README's commands made no ring01_COL"; failed=1; }
rm -rf "$work" "$work.out"
[ "$failed" = 0 ] && echo "installed tree: ok"
exit "$failed"
