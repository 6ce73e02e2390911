#!/usr/bin/env bash
# The Python package against the command line, and against what a Python user writes by hand.
#
#   bench/python_speed.sh [runs]   (default 7 paired runs)
#
# Builds Release into build-release, installs the package into build-release/venv with the
# README's command, generates the benchmark's full input (1500 series x 8000 values) and the
# many-files benchmark's 2000 chronologies, and prints the medians and three ratios:
#   quillet.read(full.crn)          against  quillet -q -t 1 full.crn  (its column file written)
#   quillet.read_long(2000 files)   against  quillet -q --long FILE... > /dev/null
#   quillet.read(full.crn)          against  pandas.read_fwf(full.crn, widths=the decade line's)
# The Python side is timed inside one interpreter (started and imported once); the command
# line as a process, from the same interpreter, the two alternating.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}

# shellcheck source=bench/common.sh
source bench/common.sh
venv=$(pwd)/build-release/venv
/usr/bin/python3 -m venv --system-site-packages "$venv"
"$venv/bin/python" -m pip install -q --no-index --no-build-isolation ./python

generate_full "$work/full.crn"
mkdir "$work/files"
for ((i = 0; i < 2000; i++)); do
  "$generate" --series $((1 + i % 4)) --min-length 100 --max-length 600 --first-year 1500 \
    --last-first-year 1900 --type 1 --seed "$i" --out "$work/files/site$i.crn"
done
sync

"$venv/bin/python" - "$quillet" "$work" "$runs" <<'PYTHON'
import os, statistics, subprocess, sys, time
import pandas as pd
import quillet

binary, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
os.chdir(work)
files = sorted(f for f in os.listdir("files") if f.endswith(".crn"))


def clock(action):
    start = time.perf_counter()
    action()
    return time.perf_counter() - start


def paired(a, b, runs):
    """Medians of a and b, run in pairs whose order alternates."""
    a(); b()  # warm the cache
    times_a, times_b = [], []
    for i in range(runs):
        if i % 2 == 0:
            times_a.append(clock(a)); times_b.append(clock(b))
        else:
            times_b.append(clock(b)); times_a.append(clock(a))
    return statistics.median(times_a), statistics.median(times_b)


def command_line(*arguments, cwd=None):
    return lambda: subprocess.run([binary, *arguments], cwd=cwd, check=False,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def show(left, a, right, b, limit=None):
    bound = f"(at most {limit} x)" if limit else ""
    print(f"{left:30s} {a * 1000:8.1f} ms   {right:28s} {b * 1000:8.1f} ms   ratio {a / b:.3g} x {bound}",
          flush=True)


print()
read, convert = paired(lambda: quillet.read("full.crn"), command_line("-q", "-t", "1", "full.crn"), runs)
show("quillet.read(full.crn)", read, "quillet -q -t 1 full.crn", convert, 1.5)
long, cli_long = paired(lambda: quillet.read_long(["files/" + f for f in files], errors="warn"),
                        command_line("-q", "--long", *files, cwd="files"), runs)
show("quillet.read_long(2000 files)", long, "quillet -q --long 2000 files", cli_long, 2.0)
widths = [6, 4] + [4, 3] * 10
read, fwf = paired(lambda: quillet.read("full.crn"),
                   lambda: pd.read_fwf("full.crn", widths=widths, header=None), max(1, min(runs, 3)))
show("quillet.read(full.crn)", read, "pandas.read_fwf(full.crn)", fwf)
PYTHON
machine_line
