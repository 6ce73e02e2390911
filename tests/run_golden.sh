#!/usr/bin/env bash
# Runs one golden case against a quillet binary and compares, byte for byte, the console
# transcript, the exit status and every file left in the working folder.
#
#   run_golden.sh <quillet binary> <case folder>
#
# A case folder holds:
#   answers          what is piped to the program (absent: nothing at all)
#   answers.sh       or a bash script whose output is piped to it (for answers too big to keep)
#   input/           files copied into an empty working folder before the run
#   setup            optional bash script run in the working folder before the run
#   env              optional lines NAME=value added to the program's environment
#   platform         optional: "posix" or "windows", for a case that holds on one build only
#                    (the other build skips it, with exit status 77)
#   expected/stdout  the console transcript (absent: empty)
#   expected/stderr  the error stream (absent: empty)
#   expected/status  the exit status as the shell sees it (-1 is 255)
#   expected/files/  every file the run must leave, compared byte for byte; every other
#                    file in the working folder must be as it was before the run
#
# With QUILLET_WINDOWS=1 the binary is the Windows build run under wine: console line ends
# are folded to LF before comparing, and expected column files are compared with CR LF line
# ends (expected/files/*_COL are stored with LF).
set -u

binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
case_dir=$(cd "$2" && pwd)
name=$(basename "$case_dir")
windows=${QUILLET_WINDOWS:-0}

if [ -f "$case_dir/platform" ]; then
  wanted=$(cat "$case_dir/platform")
  here_platform=posix
  [ "$windows" = 1 ] && here_platform=windows
  if [ "$wanted" != "$here_platform" ]; then
    echo "$name: skipped (a $wanted case)"
    exit 77
  fi
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
work="$scratch/work"
mkdir "$work"
[ -d "$case_dir/input" ] && cp -a "$case_dir/input/." "$work/"
if [ -f "$case_dir/setup" ]; then
  (cd "$work" && bash "$case_dir/setup") || { echo "$name: setup failed"; exit 1; }
fi

# What the folder holds before the run: every file there must be left as it was unless the
# case expects it to change.
cp -a "$work" "$scratch/before"

env_args=()
if [ -f "$case_dir/env" ]; then
  while IFS= read -r line; do [ -n "$line" ] && env_args+=("$line"); done < "$case_dir/env"
fi
answers=/dev/null
[ -f "$case_dir/answers" ] && answers="$case_dir/answers"
if [ -f "$case_dir/answers.sh" ]; then
  bash "$case_dir/answers.sh" > "$scratch/answers"
  answers="$scratch/answers"
fi

run=("$binary")
[ "$windows" = 1 ] && run=(wine "$binary")
(cd "$work" && env "${env_args[@]}" "${run[@]}" < "$answers" > "$scratch/stdout" 2> "$scratch/stderr")
status=$?

failed=0
fail() { echo "$name: $*"; failed=1; }

if [ "$windows" = 1 ]; then
  for stream in stdout stderr; do
    # wine adds its own diagnostics to the error stream; keep only the program's lines.
    sed -i 's/\r$//' "$scratch/$stream"
  done
  sed -i '/^[0-9a-f]*:\(err\|fixme\|warn\):/d' "$scratch/stderr"
fi

for stream in stdout stderr; do
  expected="$case_dir/expected/$stream"
  [ -f "$expected" ] || expected=/dev/null
  if ! cmp -s "$expected" "$scratch/$stream"; then
    fail "$stream differs:"
    diff <(cat -A "$expected") <(cat -A "$scratch/$stream") | head -20
  fi
done

expected_status=$(cat "$case_dir/expected/status")
[ "$status" = "$expected_status" ] || fail "exit status $status, expected $expected_status"

expected_file() {  # the expected content of file $1 on this build
  if [ "$windows" = 1 ] && [[ "$1" == *_COL ]]; then
    sed 's/$/\r/' "$case_dir/expected/files/$1"
  else
    cat "$case_dir/expected/files/$1"
  fi
}

if [ -d "$case_dir/expected/files" ]; then
  while IFS= read -r -d '' path; do
    rel=${path#"$case_dir/expected/files/"}
    if [ ! -f "$work/$rel" ]; then
      fail "missing file $rel"
    elif ! cmp -s <(expected_file "$rel") "$work/$rel"; then
      fail "file $rel differs:"
      diff <(expected_file "$rel" | cat -A) <(cat -A "$work/$rel") | head -20
    fi
  done < <(find "$case_dir/expected/files" -type f -print0)
fi

while IFS= read -r -d '' path; do
  rel=${path#"$work/"}
  [ -f "$case_dir/expected/files/$rel" ] && continue
  before="$scratch/before/$rel"
  if [ -L "$path" ]; then
    # a link is compared as a link: reading through it could mean reading /dev/full
    [ -L "$before" ] && [ "$(readlink "$path")" = "$(readlink "$before")" ] ||
      fail "link $rel was changed or made"
  elif [ -f "$before" ] && [ ! -L "$before" ]; then
    cmp -s "$before" "$path" || fail "file $rel was changed"
  else
    fail "unexpected file $rel"
  fi
done < <(find "$work" \( -type f -o -type l \) -print0)

[ "$failed" = 0 ] && echo "$name: ok"
exit "$failed"
