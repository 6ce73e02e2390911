#!/usr/bin/env bash
# The R package's read_crn: files per second over many files, and on the full input against
# the command line's conversion of it.
#
#   bench/r_speed.sh [runs] [folder]   (default 9 runs; without a folder, the many-files
#                                       benchmark's 2000 generated chronologies)
#
# Builds Release into build-release (the command line and the generator), installs the R
# package (r/bootstrap.sh, R CMD INSTALL) into a scratch library, and runs bench/r_speed.R
# there: read_crn over every file of the folder that it reads (in one R session, after one
# pass that warms up and finds them), and read_crn on the full input (1500 series x 8000
# values) against `quillet -q -o DIR full.crn`. Needs R with cpp11 (Debian: r-base-dev
# r-cran-cpp11).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-9}

# shellcheck source=bench/common.sh
source bench/common.sh
folder=$(files_folder "${2:-}")
generate_full "$work/full.crn" > /dev/null

bash r/bootstrap.sh > /dev/null
mkdir "$work/library"
R CMD INSTALL --no-test-load -l "$work/library" r > "$work/install.log" 2>&1 ||
  { tail -n 30 "$work/install.log"; exit 1; }
R_LIBS="$work/library" Rscript bench/r_speed.R "$runs" "$folder" "$work/full.crn" "$quillet"
machine_line
