#!/usr/bin/env bash
# Runs the README's two commands exactly as the README shows them, typed one after the other
# in one shell, in a fresh clone: the first with the answers for the example piped in, then
# the second. Then the first once more in another fresh clone, with GoogleTest hidden from
# CMake: the program must build and start without it.
#
#   readme_commands.sh <source folder (a git checkout)>
set -u
source_dir=$(cd "$1" && pwd)
readme=$source_dir/README.md
# The first two indented command lines of the README.
mapfile -t commands < <(grep -m 2 '^    cmake ' "$readme" | sed 's/^    //')
[ "${#commands[@]}" = 2 ] || { echo "the README does not begin with two commands"; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0

git clone -q "$source_dir" "$scratch/clone" || exit 1
cd "$scratch/clone" || exit 1
# One shell, the answers for the program on its standard input.
printf 'ring01.crn\n1\n' | bash -c "${commands[0]}
echo \"(the shell is in \$PWD)\"
${commands[1]}" > "$scratch/both.log" 2>&1
status=$?
grep -q "Normal Termination of Program Quillet" "$scratch/both.log" ||
  { echo "the first command did not convert the example"; failed=1; }
grep -qx "(the shell is in $scratch/clone)" "$scratch/both.log" ||
  { echo "the first command left the shell elsewhere"; failed=1; }
grep -q "100% tests passed" "$scratch/both.log" || { echo "the second command did not pass"; failed=1; }
[ "$status" = 0 ] || { echo "the commands ended with status $status"; failed=1; }
[ -f examples/ring01_COL ] || { echo "no examples/ring01_COL"; failed=1; }
[ "$failed" = 0 ] || tail -n 40 "$scratch/both.log"

git clone -q "$source_dir" "$scratch/bare" || exit 1
cd "$scratch/bare" || exit 1
first=${commands[0]/cmake -S . -B build/cmake -S . -B build -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON}
printf 'ring01.crn\n1\n' | bash -c "$first" > "$scratch/bare.log" 2>&1 ||
  { echo "without GoogleTest the first command failed:"; tail -n 20 "$scratch/bare.log"; failed=1; }
grep -q "Normal Termination of Program Quillet" "$scratch/bare.log" ||
  { echo "without GoogleTest the program did not convert the example"; failed=1; }

[ "$failed" = 0 ] && echo "the README's commands: ok"
exit "$failed"
