"""quillet.read: the frame of a column file, its attrs, and the sources it takes."""

import io
import math
import pathlib

import numpy as np
import pandas as pd
import pytest

import quillet
from conftest import decade_lines, type1

NAN = math.nan

# Four series: two named ABC, one named N, one without a name; a value too wide for the column
# file's 6 columns, a 0.000 within a series' years and a negative value.
STACKED = type1(
    decade_lines("ABC", 1850, [1031, 0, 854], [3, 4, 5], label="LBL1"),
    decade_lines("ABC", 1848, [500, 600]),
    decade_lines("N", 1851, ["100.", 250], 2),
    decade_lines("", 1852, [-250], 7),
)


def assert_cells(frame, expected):
    got = frame.to_numpy(dtype=float, na_value=NAN)
    np.testing.assert_array_equal(got, np.array(expected, dtype=float))


def test_frame_of_a_stacked_file():
    frame = quillet.read(STACKED)
    assert list(frame.columns) == ["N", "ABC", "ABC.1", "N.1", ""]
    assert list(frame.dtypes.map(str)) == ["int64"] + ["float64"] * 4
    assert frame.index.name == "year" and str(frame.index.dtype) == "int64"
    assert frame.index.tolist() == [1848, 1849, 1850, 1851, 1852]
    # N is the first series' count for each year, 0 outside its years.
    assert_cells(
        frame,
        [
            [0, NAN, 0.5, NAN, NAN],
            [0, NAN, 0.6, NAN, NAN],
            [3, 1.031, NAN, NAN, NAN],
            [4, 0.0, NAN, 100.0, NAN],
            [5, 0.854, NAN, 0.25, -0.25],
        ],
    )
    assert frame.attrs["file_type"] == 1
    assert frame.attrs["source"] == "<bytes>"
    assert frame.attrs["conventions"] == []
    assert frame.attrs["series"] == [
        {"name": "ABC", "first_year": 1850, "last_year": 1852,
         "header_lines": ["HDR 1 a", "HDR 1 b", "HDR 1 c"], "label": "LBL1    "},
        {"name": "ABC", "first_year": 1848, "last_year": 1849,
         "header_lines": ["HDR 2 a", "HDR 2 b", "HDR 2 c"], "label": "        "},
        {"name": "N", "first_year": 1851, "last_year": 1852,
         "header_lines": ["HDR 3 a", "HDR 3 b", "HDR 3 c"], "label": "        "},
        {"name": "", "first_year": 1852, "last_year": 1852,
         "header_lines": ["HDR 4 a", "HDR 4 b", "HDR 4 c"], "label": "        "},
    ]


def plain(*series):
    return ("\n".join(line for lines in series for line in lines) + "\n").encode()


def test_rows_at_the_edges_of_the_table():
    # A series after 8000: the rows start at 8000.
    late = quillet.read(plain(decade_lines("LATE", 9000, [1, 2, 3], [4, 5, 6])), type=0)
    assert (late.index[0], late.index[-1], len(late)) == (8000, 9002, 1003)
    assert late["N"].tolist()[-4:] == [0, 4, 5, 6] and late["N"].iloc[0] == 0
    assert late["LATE"].isna().sum() == 1000
    assert late["LATE"].tolist()[-3:] == [0.001, 0.002, 0.003]
    # A series before 0: the rows end at 0.
    early = quillet.read(plain(decade_lines("EARLY", -500, [1, 2, 3])), type=0)
    assert (early.index[0], early.index[-1], len(early)) == (-500, 0, 501)
    assert early["EARLY"].tolist()[:3] == [0.001, 0.002, 0.003]
    assert early["EARLY"].iloc[3:].isna().all()
    # No series holds a value: no rows, the columns all the same.
    empty = quillet.read(plain(decade_lines(" NIL", 1900, [])), type=0)
    assert list(empty.columns) == ["N", " NIL"] and len(empty) == 0
    assert list(empty.dtypes.map(str)) == ["int64", "float64"]
    assert empty.attrs["series"][0]["first_year"] == 1900
    assert empty.attrs["series"][0]["last_year"] == 1899


def test_every_kind_of_source_reads_alike(tmp_path):
    path = tmp_path / "stacked.crn"
    path.write_bytes(STACKED)
    expected = quillet.read(STACKED)
    with open(path, "rb") as opened:
        from_file = quillet.read(opened)
    sources = [
        (str(path), str(path)),
        (pathlib.Path(path), str(path)),
        (bytearray(STACKED), "<bytes>"),
        (memoryview(STACKED), "<bytes>"),
        (io.BytesIO(STACKED), "<stream>"),
    ]
    for source, name in sources:
        frame = quillet.read(source, type=1)
        pd.testing.assert_frame_equal(frame, expected)
        assert frame.attrs["source"] == name
    pd.testing.assert_frame_equal(from_file, expected)
    assert from_file.attrs["source"] == str(path)


def test_sources_and_types_refused(tmp_path):
    path = tmp_path / "stacked.crn"
    path.write_bytes(STACKED)
    with open(path, "r") as text_file, pytest.raises(TypeError, match="binary mode"):
        quillet.read(text_file)
    for source in (io.StringIO("x"), 12, None):
        with pytest.raises(TypeError):
            quillet.read(source)
    for file_type in ("1", 10, -1, "AUTO"):
        with pytest.raises(ValueError):
            quillet.read(STACKED, type=file_type)
    with pytest.raises(FileNotFoundError) as missing:
        quillet.read(tmp_path / "nowhere.crn")
    assert missing.value.filename == str(tmp_path / "nowhere.crn")
    assert missing.value.errno == 2
    with pytest.raises(IsADirectoryError):
        quillet.read(tmp_path)


def test_version_types_and_help(quillet_binary):
    from conftest import run

    status, out, _ = run(quillet_binary, "--version")
    assert status == 0 and out.decode().split()[:2] == ["quillet", quillet.__version__]
    package = pathlib.Path(quillet.__file__).parent
    assert (package / "py.typed").exists()
    assert "Returns" in quillet.read.__doc__ and "QuilletWarning" in quillet.read.__doc__
    assert quillet.read.__annotations__["return"] in ("pd.DataFrame", pd.DataFrame)
    assert issubclass(quillet.QuilletWarning, UserWarning)
    assert issubclass(quillet.QuilletError, ValueError)
