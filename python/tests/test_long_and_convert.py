"""quillet.read_long (every series with its own counts) and quillet.convert (the command
line's column files, refusals and lines)."""

import os
import shutil
import warnings

import pandas as pd
import pytest

import quillet
from conftest import BAD, BAD_LINES, SOURCE_DIR, decade_lines, run, type1

TWO = type1(decade_lines("ONE", 1850, [100, 200], [3, 4]),
            decade_lines("TWO", 1849, [-250, 0, 1234], [1, 2, 5]))
EXAMPLES = ["ring01.crn", "site.ind", "slopes.mst", "valley.crn", "ridge.crn"]


def test_long_table_keeps_every_series_counts(tmp_path):
    path = tmp_path / "two.crn"
    path.write_bytes(TWO)
    table = quillet.read_long([TWO, path])
    assert list(table.columns) == ["file", "series_number", "series", "year", "value", "count"]
    assert list(table.dtypes.map(str)) == ["object", "int64", "object", "int64", "float64", "int64"]
    rows = [("ONE", 1, 1850, 0.1, 3), ("ONE", 1, 1851, 0.2, 4), ("TWO", 2, 1849, -0.25, 1),
            ("TWO", 2, 1850, 0.0, 2), ("TWO", 2, 1851, 1.234, 5)]
    expected = [("<bytes>", n, s, y, v, c) for s, n, y, v, c in rows]
    expected += [(str(path), n, s, y, v, c) for s, n, y, v, c in rows]
    assert list(table.itertuples(index=False, name=None)) == expected
    pd.testing.assert_frame_equal(quillet.read_long(TWO), table.iloc[:5])


def test_long_table_of_a_failing_source(tmp_path):
    with pytest.raises(quillet.QuilletError, match="columns 11-14"):
        quillet.read_long([TWO, BAD])
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        table = quillet.read_long([BAD, TWO], errors="warn")
    assert [str(w.message) for w in caught] == BAD_LINES
    assert caught[0].filename == __file__
    assert len(table) == 5
    empty = quillet.read_long([])
    assert list(empty.columns) == list(table.columns) and len(empty) == 0
    with pytest.raises(ValueError):
        quillet.read_long(TWO, errors="ignore")


def test_long_table_equals_the_command_lines(quillet_binary, monkeypatch):
    monkeypatch.chdir(SOURCE_DIR / "examples")
    status, out, _ = run(quillet_binary, "-q", "--long", *EXAMPLES)
    assert status == 0
    lines = out.decode().splitlines()
    assert lines[0] == "file\tseries_number\tseries\tyear\tvalue\tcount"
    expected = [(f, int(n), s, int(y), float(v), int(c))
                for f, n, s, y, v, c in (line.split("\t") for line in lines[1:])]
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        table = quillet.read_long(EXAMPLES)
    assert list(table.itertuples(index=False, name=None)) == expected


def test_convert_as_the_command_line(quillet_binary, tmp_path, monkeypatch, capfd):
    for folder in ("cli", "py"):
        os.mkdir(tmp_path / folder)
        for name in EXAMPLES:
            shutil.copy(SOURCE_DIR / "examples" / name, tmp_path / folder)
        (tmp_path / folder / "bad.crn").write_bytes(b"h\nh\nh\n" + BAD)
    files = ["ring01.crn", "bad.crn", "site.ind", "./ring01.crn"]
    status, _, stderr = run(quillet_binary, "-q", "--missing", "NA", "-t", "1", *files,
                            cwd=tmp_path / "cli")
    assert status == 1
    monkeypatch.chdir(tmp_path / "py")
    capfd.readouterr()
    with warnings.catch_warnings(record=True) as caught, \
            pytest.raises(quillet.QuilletError) as raised:
        warnings.simplefilter("always")
        quillet.convert(files, type=1, missing="NA")
    assert capfd.readouterr() == ("", "")
    warned = [str(w.message) for w in caught]
    assert sorted(warned + raised.value.lines) == sorted(stderr)
    assert (raised.value.file, raised.value.line) == ("bad.crn", 4)
    assert str(raised.value) == (
        'bad.crn:4: error: data cannot be read in columns 11-14: " 1x0"\n'
        "./ring01.crn: error: its column file ./ring01_COL is the table of an earlier FILE of this run")
    for name in ("ring01_COL", "site_COL"):
        assert (tmp_path / "py" / name).read_bytes() == (tmp_path / "cli" / name).read_bytes()
    assert sorted(os.listdir(tmp_path / "py")) == sorted(os.listdir(tmp_path / "cli"))

    os.mkdir(tmp_path / "out")
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        written = quillet.convert(["ring01.crn", tmp_path / "py" / "slopes.mst"],
                                  output_dir=tmp_path / "out")
    assert written == [str(tmp_path / "out" / "ring01_COL"), str(tmp_path / "out" / "slopes_COL")]


def test_convert_refuses_before_writing(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    shutil.copy(SOURCE_DIR / "examples" / "ring01.crn", tmp_path)
    for options in ({"missing": "a\tb"}, {"output_dir": tmp_path / "nowhere"}):
        with pytest.raises(quillet.QuilletError) as raised:
            quillet.convert("ring01.crn", **options)
        assert raised.value.file is None and raised.value.lines == [str(raised.value)]
    assert os.listdir(tmp_path) == ["ring01.crn"]
    for source in (b"ABC", [open], ["ring01.crn", 3]):
        with pytest.raises(TypeError):
            quillet.convert(source)
    assert os.listdir(tmp_path) == ["ring01.crn"]
