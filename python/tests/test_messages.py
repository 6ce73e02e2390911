"""Warnings and errors as the command line words them, and the examples and the golden
inputs read equal to the column files the command line writes with --missing NA."""

import os
import pickle
import shutil
import warnings

import pytest

import quillet
from conftest import BAD, BAD_LINES, SOURCE_DIR, assert_frame_is_column_file, decade_lines, run, type1

# The second series is cut off by the end of the input.
CUT = type1(decade_lines("ONE", 1850, [100, 200]), decade_lines("TWO", 1850, [300], end=False))


def test_warnings_are_the_command_lines(tmp_path):
    path = tmp_path / "cut.crn"
    path.write_bytes(CUT)
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        frame = quillet.read(path, strict=True)
    assert [str(w.message) for w in caught] == [
        f"{path}: warning: the input ends inside series 2, before its end marker;"
        " that series is not converted"
    ]
    assert caught[0].category is quillet.QuilletWarning
    assert caught[0].filename == __file__  # the caller's line
    assert list(frame.columns) == ["N", "ONE"]


def test_a_file_not_converted_raises_its_lines(tmp_path):
    with pytest.raises(quillet.QuilletError) as raised:
        quillet.read(BAD, type=0)
    error = raised.value
    line = '<bytes>:1: error: data cannot be read in columns 11-14: " 1x0"'
    assert (str(error), error.file, error.line, error.lines) == (line, "<bytes>", 1, [line])
    assert isinstance(error, ValueError)
    again = pickle.loads(pickle.dumps(error))
    assert (type(again), str(again), again.file, again.line, again.lines) == (
        quillet.QuilletError, line, "<bytes>", 1, [line])
    # Every layout tried says why it failed; the first error line names no line.
    with pytest.raises(quillet.QuilletError) as raised:
        quillet.read(BAD)
    assert raised.value.line is None
    assert raised.value.lines == BAD_LINES
    assert str(raised.value) == "\n".join(BAD_LINES)


def golden_inputs():
    """(folder, file, file type) of each golden case that reads one input of a type given."""
    cases = []
    for case in sorted((SOURCE_DIR / "tests" / "golden").iterdir()):
        answers = case / "answers"
        if not answers.is_file() or (case / "env").exists():
            continue
        lines = answers.read_bytes().decode("utf-8", "surrogateescape").split("\n")
        if len(lines) > 1 and len(lines[1]) == 1 and lines[1].isdigit():
            if (case / "input" / lines[0]).is_file():
                cases.append((case / "input", lines[0], int(lines[1])))
    return cases


CASES = [(SOURCE_DIR / "examples", name, "auto") for name in sorted(os.listdir(SOURCE_DIR / "examples"))
         if not name.endswith(("_COL", ".log", ".png"))] + golden_inputs()


@pytest.mark.parametrize("folder,name,file_type", CASES, ids=[c[1] + ":" + str(c[2]) for c in CASES])
def test_equal_to_the_command_line(quillet_binary, tmp_path, monkeypatch, folder, name, file_type):
    work = tmp_path / "work"
    shutil.copytree(folder, work)
    monkeypatch.chdir(work)
    arguments = ["-q", "--missing", "NA", "-o", str(tmp_path)]
    for given in dict.fromkeys([file_type, "auto"]):
        status, _, stderr = run(quillet_binary, *arguments, "-t", str(given), name)
        assert status in (0, 1)
        if status == 1:
            with pytest.raises(quillet.QuilletError) as raised:
                quillet.read(name, type=given)
            assert (raised.value.file, raised.value.lines) == (name, stderr)
            continue
        with warnings.catch_warnings(record=True) as caught:
            warnings.simplefilter("always")
            frame = quillet.read(name, type=given)
            with open(name, "rb") as opened:
                from_file = quillet.read(opened, type=given)
        assert [str(w.message) for w in caught] == stderr + stderr
        column_file = tmp_path / (os.path.splitext(name)[0] + "_COL")
        assert_frame_is_column_file(frame, column_file)
        assert_frame_is_column_file(from_file, column_file)
        os.remove(column_file)
