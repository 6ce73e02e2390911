#!/usr/bin/env bash
# Runs one golden case against a quillet binary and compares, byte for byte, the console
# transcript, the exit status and every file left in the working folder.
#
#   run_golden.sh [--update] <quillet binary> <case folder>
#
# With --update the case's expected files are rewritten from this run instead (after an
# intended change of a message, say): review the diff before committing it.
#
# A case folder holds:
#   answers          what is piped to the program (absent: nothing at all)
#   answers.sh       or a bash script whose output is piped to it (for answers too big to keep)
#   input/           files copied into an empty working folder before the run
#   setup            optional bash script run in the working folder before the run; large
#                    input comes from the generator, "$QUILLET_GENERATE" (bench/generate.cc)
#   env              optional lines NAME=value added to the program's environment
#   platform         optional: "posix" or "windows", for a case that holds on one build only
#                    (the other build skips it, with exit status 77)
#   expected/stdout  the console transcript (absent: empty)
#   expected/stderr  the error stream (absent: empty)
#   expected/status  the exit status as the shell sees it (-1 is 255)
#   expected/files/  every file the run must leave, compared byte for byte; every other
#                    file in the working folder must be as it was before the run. A file
#                    over 1 MB is kept as NAME.sha256 instead: its SHA-256 and its size.
#
# With QUILLET_WINDOWS=1 the binary is the Windows build run under wine: console line ends
# are folded to LF before comparing, and expected column files are compared with CR LF line
# ends (expected/files/*_COL are stored with LF).
set -u

update=0
if [ "${1:-}" = --update ]; then
  update=1
  shift
fi
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
  if [ -z "${QUILLET_GENERATE:-}" ] && grep -q QUILLET_GENERATE "$case_dir/setup"; then
    echo "$name: needs the input generator (QUILLET_GENERATE=build/quillet_generate)"
    exit 1
  fi
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

if [ "$windows" = 1 ]; then
  for stream in stdout stderr; do
    # wine adds its own diagnostics to the error stream; keep only the program's lines.
    sed -i 's/\r$//' "$scratch/$stream"
  done
  sed -i '/^[0-9a-f]*:\(err\|fixme\|warn\):/d' "$scratch/stderr"
fi

# A file's checksum line: its SHA-256 and its size, of the LF form on every build.
checksum() {
  local content
  if [ "$windows" = 1 ]; then content=(sed 's/\r$//' "$1"); else content=(cat "$1"); fi
  echo "$("${content[@]}" | sha256sum | cut -d' ' -f1) $("${content[@]}" | wc -c)"
}

# Files this run made or changed, relative to the working folder.
changed_files() {
  while IFS= read -r -d '' path; do
    rel=${path#"$work/"}
    if [ -f "$scratch/before/$rel" ] && [ ! -L "$path" ] && cmp -s "$scratch/before/$rel" "$path"; then
      continue
    fi
    [ -L "$path" ] && [ -L "$scratch/before/$rel" ] &&
      [ "$(readlink "$path")" = "$(readlink "$scratch/before/$rel")" ] && continue
    echo "$rel"
  done < <(find "$work" \( -type f -o -type l \) -print0)
}

if [ "$update" = 1 ]; then
  expected_dir=$case_dir/expected
  rm -rf "$expected_dir"
  mkdir -p "$expected_dir"
  for stream in stdout stderr; do
    [ -s "$scratch/$stream" ] && cp "$scratch/$stream" "$expected_dir/$stream"
  done
  echo "$status" > "$expected_dir/status"
  while IFS= read -r rel; do
    [ -L "$work/$rel" ] && continue
    mkdir -p "$expected_dir/files/$(dirname "$rel")"
    if [ "$(stat -c %s "$work/$rel")" -gt 1048576 ]; then
      checksum "$work/$rel" > "$expected_dir/files/$rel.sha256"
    elif [ "$windows" = 1 ] && [[ "$rel" == *_COL ]]; then
      sed 's/\r$//' "$work/$rel" > "$expected_dir/files/$rel"
    else
      cp "$work/$rel" "$expected_dir/files/$rel"
    fi
  done < <(changed_files)
  echo "$name: updated"
  exit 0
fi

failed=0
fail() { echo "$name: $*"; failed=1; }

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

expected_names=()
if [ -d "$case_dir/expected/files" ]; then
  while IFS= read -r -d '' path; do
    rel=${path#"$case_dir/expected/files/"}
    if [[ "$rel" == *.sha256 ]]; then
      rel=${rel%.sha256}
      expected_names+=("$rel")
      if [ ! -f "$work/$rel" ]; then
        fail "missing file $rel"
      elif [ "$(checksum "$work/$rel")" != "$(cat "$path")" ]; then
        fail "file $rel differs: checksum and size $(checksum "$work/$rel"), expected $(cat "$path")"
      elif [ "$windows" = 1 ] && grep -q $'[^\r]$' "$work/$rel"; then
        fail "file $rel has lines without CR LF"
      fi
      continue
    fi
    expected_names+=("$rel")
    if [ ! -f "$work/$rel" ]; then
      fail "missing file $rel"
    elif ! cmp -s <(expected_file "$rel") "$work/$rel"; then
      fail "file $rel differs:"
      diff <(expected_file "$rel" | cat -A) <(cat -A "$work/$rel") | head -20
    fi
  done < <(find "$case_dir/expected/files" -type f -print0)
fi

is_expected() {
  local n
  for n in "${expected_names[@]}"; do [ "$n" = "$1" ] && return 0; done
  return 1
}

while IFS= read -r -d '' path; do
  rel=${path#"$work/"}
  is_expected "$rel" && continue
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
