"""What the package's tests share: decade lines written for a test, the quillet command line
(its path in QUILLET_BINARY, as CTest passes it), and column files read back by hand."""

import math
import os
import subprocess
from pathlib import Path

import pytest

SOURCE_DIR = Path(__file__).resolve().parents[2]

# Under type 0, columns 11-14 do not read as a number.
BAD = b"ABC   1850 1x0  1 200  1 9990  0\n"
# Every layout tried on BAD, and why it failed.
BAD_LINES = [
    "<bytes>: error: as file type 1: no series was read"
    " (the input ends inside series 1, before its end marker)",
    "<bytes>: error: as file type 6: no series was read"
    " (the input ends inside series 1, before its end marker)",
    "<bytes>: error: as file type 2: the input ends inside its 3 file header lines",
    '<bytes>:1: error: as file type 0: data cannot be read in columns 11-14: " 1x0"',
]


def decade_lines(name, first_year, values, counts=1, label="", end=True):
    """The decade lines of one series: `values` in thousandths (a str is put in as written),
    the first in the slot of its year within the decade, then the end marker 9990 0."""
    if isinstance(counts, int):
        counts = [counts] * len(values)
    slots = [(f"{v:4d}" if isinstance(v, int) else f"{v:>4}") + f"{c:3d}" for v, c in zip(values, counts)]
    if end:
        slots.append("9990  0")
    slot = first_year % 10
    lines = []
    year = first_year
    while slots:
        take = 10 - slot
        line = f"{name:6.6}{year:4d}" + " " * 7 * slot + "".join(slots[:take])
        if not lines and label:
            line = f"{line:80}{label}"
        lines.append(line)
        slots = slots[take:]
        year += take
        slot = 0
    return lines


def type1(*series):
    """A type-1 file: three header lines in front of every series."""
    lines = []
    for number, lines_of_series in enumerate(series, 1):
        lines += [f"HDR {number} a", f"HDR {number} b", f"HDR {number} c"] + lines_of_series
    return ("\n".join(lines) + "\n").encode()


@pytest.fixture
def quillet_binary():
    binary = os.environ.get("QUILLET_BINARY")
    if not binary:
        pytest.skip("QUILLET_BINARY (the command line to compare with) is not set")
    return binary


def run(binary, *arguments, cwd=None):
    environment = {k: v for k, v in os.environ.items() if k != "TABSIZE"}
    result = subprocess.run(
        [binary, *arguments], cwd=cwd, capture_output=True, env=environment, check=False
    )
    return result.returncode, result.stdout, result.stderr.decode("utf-8", "surrogateescape").splitlines()


def column_file(path):
    """A column file written with --missing NA: (names without trailing blanks, years, N,
    columns of values: NaN for NA, None for a cell of asterisks)."""
    lines = Path(path).read_bytes().decode("utf-8", "surrogateescape").split("\n")
    assert lines[-1] == ""
    header, rows = lines[0].split("\t"), [line.split("\t") for line in lines[1:-1]]
    assert header[:2] == [" Year", "N"]
    names = [name.rstrip(" ") for name in header[2:]]

    def cell(text):
        text = text.strip()
        return math.nan if text == "NA" else None if text.startswith("*") else float(text)

    columns = [[cell(row[2 + i]) for row in rows] for i in range(len(names))]
    return names, [int(row[0]) for row in rows], [int(row[1]) for row in rows], columns


def assert_frame_is_column_file(frame, path):
    names, years, n, columns = column_file(path)
    assert [facts["name"] for facts in frame.attrs["series"]] == names
    if len(set(names + ["N"])) == len(names) + 1:
        assert list(frame.columns) == ["N"] + names
    assert frame.index.name == "year" and frame.index.dtype == "int64"
    assert frame.index.tolist() == years
    assert frame.iloc[:, 0].dtype == "int64" and frame.iloc[:, 0].tolist() == n
    for i, expected in enumerate(columns):
        got = frame.iloc[:, i + 1]
        assert got.dtype == "float64"
        for year, want, value in zip(years, expected, got.tolist()):
            if want is None:
                assert abs(value) >= 99.9995 or value <= -9.9995, (names[i], year, value)
            elif math.isnan(want):
                assert math.isnan(value), (names[i], year, value)
            else:
                assert value == want, (names[i], year, value)
