#!/usr/bin/env bash
# Installs the Python package with the README's command (the virtual environment in the build
# folder instead of build/) and runs its tests with that environment's interpreter, against
# the command line built beside it.
#
#   python_package.sh <quillet binary> <source folder> <build folder>
#
# Needs Debian's python3-venv, python3-pip, python3-dev, python3-pybind11 and pybind11-dev,
# python3-pandas and python3-pytest for /usr/bin/python3; skipped (77) without them. CI
# installs them.
set -u
binary=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$(cd "$2" && pwd)
build_dir=$(cd "$3" && pwd)
python=/usr/bin/python3
for module in pandas pybind11 pytest ensurepip setuptools; do
  "$python" -c "import $module" 2>/dev/null ||
    { echo "$python cannot import $module (Debian: python3-venv python3-pip python3-dev python3-pybind11 pybind11-dev python3-pandas python3-pytest)"; exit 77; }
done

# The README's install command, as it stands there, with the two folders made absolute.
command=$(awk '$0 == "<!-- python-install -->" { found = 1; next }
               found && /^```/ && !inside { inside = 1; next }
               inside { print; exit }' "$source_dir/README.md" | head -n 1)
case "$command" in
  "/usr/bin/python3 -m venv --system-site-packages build/venv && "*) ;;
  *) echo "no install command behind <!-- python-install -->: $command"; exit 1 ;;
esac
command=${command//build\/venv/$build_dir/venv}
command=${command//.\/python/$source_dir/python}
(cd "$source_dir" && bash -c "$command -q") || { echo "the install command failed: $command"; exit 1; }

cd "$build_dir" || exit 1
QUILLET_BINARY=$binary PYTHONDONTWRITEBYTECODE=1 \
  "$build_dir/venv/bin/python" -m pytest -q -p no:cacheprovider "$source_dir/python/tests"
