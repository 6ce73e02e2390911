#!/usr/bin/env bash
# The R package as the README installs it: the copy step, R CMD build, R CMD check --no-manual
# on the tarball (no ERROR and no WARNING; its testthat tests run there), installing it into a
# scratch library, and the README's R example as it stands there.
#
#   r_package.sh <source folder>
#
# Needs R with its headers and cpp11 (Debian: r-base-dev r-cran-cpp11), and testthat
# (r-cran-testthat) for the package's tests; skipped (77) without them. CI installs them.
set -u
source_dir=$(cd "$1" && pwd)
command -v R >/dev/null && command -v Rscript >/dev/null ||
  { echo "R is not installed (Debian: r-base-dev)"; exit 77; }
for package in cpp11 testthat; do
  Rscript -e "quit(status = !requireNamespace('$package', quietly = TRUE))" >/dev/null 2>&1 ||
    { echo "the R package $package is not installed (Debian: r-cran-$package)"; exit 77; }
done

export MAKEFLAGS=${MAKEFLAGS:--j2}  # the library's sources compile two at a time
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A copy of the source tree, so that the copy step and the build leave nothing in it.
mkdir "$work/src"
if git -C "$source_dir" rev-parse --git-dir >/dev/null 2>&1; then
  (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
     xargs -0 cp --parents -t "$work/src/")
else
  cp -R "$source_dir/." "$work/src/"
fi
cd "$work" || exit 1
failed=0

# The README's R section.
readme=$source_dir/README.md
snippet() {  # the fenced block behind the marker <!-- $1 -->
  awk -v marker="<!-- $1 -->" '$0 == marker { found = 1; next }
       found && /^```/ && !inside { inside = 1; next }
       inside && /^```$/ { exit }
       inside { print }' "$readme"
}

# The install command, as it stands there (run in the source tree), into a scratch library.
install_command=$(snippet r-install | head -n 1)
[ -n "$install_command" ] || { echo "no install command in the README's R section"; exit 1; }
mkdir "$work/library"
(cd src && R_LIBS="$work/library" R_LIBS_USER="$work/library" \
   bash -c "${install_command/R CMD INSTALL/R CMD INSTALL -l $work/library}") > install.log 2>&1 ||
  { echo "the install command failed: $install_command"; tail -n 30 install.log; exit 1; }

# build and check the tarball
R CMD build --no-build-vignettes src/r > build.log 2>&1 ||
  { echo "R CMD build failed"; tail -n 30 build.log; exit 1; }
tarball=$(ls quillet_*.tar.gz)
_R_CHECK_CRAN_INCOMING_=false _R_CHECK_CRAN_INCOMING_REMOTE_=false _R_CHECK_FORCE_SUGGESTS_=false \
  R CMD check --no-manual "$tarball" > check.log 2>&1
status=$?
grep -A1 "^Status: " check.log || tail -n 4 check.log
if [ "$status" -ne 0 ] || grep -qE '^Status: .*(ERROR|WARNING)' check.log ||
   ! grep -q '^Status: ' check.log; then
  echo "R CMD check did not pass:"
  grep -B2 -A20 -E '\.\.\. (ERROR|WARNING)$' check.log | head -n 80
  find quillet.Rcheck -name '*.Rout.fail' -exec tail -n 40 {} \;
  failed=1
fi

# The README's R example, run in the folder of the example files with the package installed.
example=$(snippet r-example)
[ -n "$example" ] || { echo "no R example in the README's R section"; exit 1; }
mkdir example && cd example || exit 1
echo "$example" > example.R
R_LIBS="$work/library" Rscript example.R > example.log 2>&1 ||
  { echo "the README's R example failed:"; cat example.log; failed=1; }
grep -q "cutoff.crn: warning: the input ends inside series 3" example.log ||
  { echo "the README's R example showed no warning:"; cat example.log; failed=1; }
[ -s Rplots.pdf ] || { echo "the README's R example plotted nothing"; failed=1; }

[ "$failed" = 0 ] && echo "the R package: built, checked, installed, the README's example runs"
exit "$failed"
