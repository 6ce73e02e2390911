#!/usr/bin/env bash
# Runs every golden case against one binary; with QUILLET_WINDOWS=1 the binary is the
# Windows build, run under wine (see run_golden.sh). Prints one line per case and exits
# non-zero when any case fails.
#
#   run_golden_suite.sh <quillet binary>
set -u
here=$(cd "$(dirname "$0")" && pwd)
failed=0
for case_dir in "$here"/golden/*/; do
  status=0
  bash "$here/run_golden.sh" "$1" "$case_dir" || status=$?
  [ "$status" = 0 ] || [ "$status" = 77 ] || failed=1
done
exit "$failed"
