#!/usr/bin/env bash
# Makes r/ an R package that builds on its own: copies the library into r/src/quillet-lib (the
# public headers of include/, the sources listed in src/library_sources.txt and the headers of
# src/ they include), the examples the help pages read into r/inst/extdata, and writes
# r/DESCRIPTION and r/src/Makevars with the version of CMakeLists.txt's project() line. After
# it, `R CMD INSTALL r` installs the package and `R CMD build r` makes a tarball that needs
# nothing else. Everything it writes is ignored by git; run it again after the library changes.
#
#   bash r/bootstrap.sh
set -euo pipefail
package=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$package/.." && pwd)
lib=$package/src/quillet-lib

version=$(sed -n 's/^project(Quillet VERSION \([0-9][0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "bootstrap.sh: no version in CMakeLists.txt's project() line" >&2; exit 1; }
mapfile -t sources < <(sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' \
  "$root/src/library_sources.txt")
[ "${#sources[@]}" -gt 0 ] || { echo "bootstrap.sh: src/library_sources.txt names no source" >&2; exit 1; }

rm -rf "$lib"
mkdir -p "$lib"
cp -R "$root/include" "$lib/include"

# The sources, and every header of src/ they include, directly or through other headers
# (#include "x/y.h" is looked up in src/; the public ones are in include/ already).
copied=()
copy_file() {  # copy_file PATH-UNDER-ROOT
  local path=$1 included
  if [ -e "$lib/$path" ]; then return; fi
  mkdir -p "$lib/$(dirname "$path")"
  cp "$root/$path" "$lib/$path"
  copied+=("$path")
  while read -r included; do
    if [ -f "$root/src/$included" ]; then copy_file "src/$included"; fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$root/$path")
}
for source in "${sources[@]}"; do
  [ -f "$root/$source" ] || { echo "bootstrap.sh: $source (src/library_sources.txt) is missing" >&2; exit 1; }
  copy_file "$source"
done

objects="quillet_r.o"
for source in "${sources[@]}"; do objects+=" quillet-lib/${source%.*}.o"; done
{
  echo "# Written by bootstrap.sh"
  echo "CXX_STD = CXX20"
  echo "PKG_CPPFLAGS = -Iquillet-lib/include -Iquillet-lib/src -DQUILLET_VERSION=\\\"$version\\\""
  echo "OBJECTS = $objects"
} > "$package/src/Makevars"

sed "s/@VERSION@/$version/" "$package/DESCRIPTION.in" > "$package/DESCRIPTION"

mkdir -p "$package/inst/extdata"
cp "$root/examples/ring01.crn" "$root/examples/valley.crn" "$package/inst/extdata/"

echo "r/: quillet $version, ${#sources[@]} library sources and $((${#copied[@]} - ${#sources[@]})) headers copied"
