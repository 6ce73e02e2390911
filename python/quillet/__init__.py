"""Quillet: MORVEN and BILTOSE decade-line files read into pandas.

    >>> import quillet
    >>> df = quillet.read("ring01.crn")          # one column per series, indexed by year
    >>> long = quillet.read_long(["a.crn", "b.crn"])  # one row per value, every series' counts
    >>> quillet.convert(["a.crn"])               # the column files, as the command line writes them

The reading is the library's own (the one behind the ``quillet`` command line): the same file
types, the same layout found by trial, and the same messages. What the command line writes as
a warning is issued as a :class:`QuilletWarning`; a file it does not convert raises
:class:`QuilletError` with the command line's error lines.
"""

from __future__ import annotations

import builtins
import io
import operator
import os
import re
import warnings
from typing import IO, Iterable, List, Optional, Sequence, Tuple, Union

import numpy as np
import pandas as pd

from . import _quillet

__all__ = ["read", "read_long", "convert", "QuilletError", "QuilletWarning", "__version__"]

__version__: str = _quillet.version()

#: What a source may be: a path, bytes in memory, or a binary file object.
Source = Union[str, "os.PathLike[str]", "os.PathLike[bytes]", bytes, bytearray, memoryview, IO[bytes]]


class QuilletWarning(UserWarning):
    """A warning of the command line about a file it converts, as its line
    ``FILE:LINE: warning: TEXT``."""


class QuilletError(ValueError):
    """A file that is not converted (or options the command line refuses).

    ``str(error)`` holds the command line's error line(s); ``file`` is the file as named in
    them, ``line`` the input line of the first error (None when it names none) and ``lines``
    every line the command line writes for the file, warnings included.
    """

    def __init__(
        self,
        message: str,
        file: Optional[str] = None,
        line: Optional[int] = None,
        lines: Sequence[str] = (),
    ) -> None:
        super().__init__(message)
        self.message = message
        self.file = file
        self.line = line
        self.lines = list(lines)

    def __reduce__(self):
        return (type(self), (self.message, self.file, self.line, self.lines))

    def __str__(self) -> str:
        return self.message


# --- sources ----------------------------------------------------------------------------------


def _file_type(type: Union[str, int]) -> int:
    if isinstance(type, str):
        if type == "auto":
            return -1
        raise ValueError(f"type must be 'auto' or a file type 0-9, not {type!r}")
    if isinstance(type, bool):
        raise TypeError("type must be 'auto' or an int 0-9, not a bool")
    number = operator.index(type)
    if not 0 <= number <= 9:
        raise ValueError(f"type must be 'auto' or a file type 0-9, not {number}")
    return number


def _is_path(source: object) -> bool:
    return isinstance(source, (str, os.PathLike))


def _is_single(source: object) -> bool:
    """True for one source (as opposed to an iterable of sources)."""
    return (
        _is_path(source)
        or isinstance(source, (bytes, bytearray, memoryview))
        or hasattr(source, "read")
    )


def _read_source(reader, source: Source, file_type: int, strict: bool, every_count: bool):
    """Reads one source with the reader; returns (name, converted, file type, lines)."""
    if _is_path(source):
        path = os.fspath(source)
        name = os.fsdecode(path)
        return (name,) + tuple(
            reader.read_path(os.fsencode(path), name, file_type, strict, every_count)
        )
    if hasattr(source, "read"):
        if isinstance(source, io.TextIOBase):
            raise TypeError("a file object in text mode: open the file in binary mode ('rb')")
        data = source.read()
        if isinstance(data, str):
            raise TypeError("a file object in text mode: open the file in binary mode ('rb')")
        name = getattr(source, "name", None)
        name = name if isinstance(name, str) else "<stream>"
    else:
        try:
            data = memoryview(source)
        except TypeError:
            raise TypeError(
                "source must be a path, a bytes-like object or a binary file object, "
                f"not {type(source).__name__}"
            ) from None
        name = "<bytes>"
    data = memoryview(data)
    if data.ndim != 1 or data.itemsize != 1 or not data.c_contiguous:
        data = memoryview(data.tobytes())
    return (name,) + tuple(reader.read_buffer(data, name, file_type, strict, every_count))


_ERROR_LINE = r"(?::(\d+))?: error: "


def _error(name: str, lines: List[str]) -> QuilletError:
    """The QuilletError for a file that is not converted, from its command-line lines."""
    pattern = re.compile(re.escape(_quillet.escape(name)) + _ERROR_LINE)
    errors = [(line, pattern.match(line)) for line in lines]
    errors = [(line, match) for line, match in errors if match]
    if not errors:
        return QuilletError("\n".join(lines), name, None, lines)
    first = errors[0][1].group(1)
    return QuilletError(
        "\n".join(line for line, _ in errors), name, int(first) if first else None, lines
    )


def _warn(lines: Iterable[str], stacklevel: int) -> None:
    # stacklevel counts from the caller of _warn: 1 is that function, 2 its caller, ...
    for line in lines:
        warnings.warn(QuilletWarning(line), stacklevel=stacklevel + 1)


def _unique(names: List[str]) -> List[str]:
    """Names made unique as pandas' readers do: ABC, ABC.1, ABC.2."""
    counts: dict = {}
    result = []
    for name in names:
        count = counts.get(name, 0)
        while count > 0:
            counts[name] = count + 1
            name = f"{name}.{count}"
            count = counts.get(name, 0)
        result.append(name)
        counts[name] = counts.get(name, 0) + 1
    return result


# --- the functions ----------------------------------------------------------------------------


def read(source: Source, *, type: Union[str, int] = "auto", strict: bool = False) -> pd.DataFrame:
    """Reads a decade-line file into a DataFrame: its column table, one column per series.

    Parameters
    ----------
    source : str, os.PathLike, bytes-like or binary file object
        The file: a path, its bytes, or a file object opened in binary mode (read to its end).
        A text-mode file object raises TypeError; a path that cannot be opened raises the
        matching OSError (FileNotFoundError, PermissionError, ...).
    type : "auto" or int 0-9
        The file type as on the command line: 1 (three header lines in front of each series),
        2-5 (three at the top of the file), 6 (one in front of each series), 0 and 7-9 (none);
        "auto" finds the layout by trial.
    strict : bool
        The decade-line rules alone, without the conventions of the data bank's files.

    Returns
    -------
    pandas.DataFrame
        The rows of the column file: the index ``year`` (int64) from the earliest first year
        to the latest last year, the column ``N`` (int64) and one float64 column per series in
        file order, named as the column file names it without trailing blanks (made unique as
        pandas does: ``ABC``, ``ABC.1``). A value is the column file's, rounded to thousandths;
        NaN outside the series' years. ``df.attrs`` holds ``file_type`` (the layout used),
        ``source`` (the file's name in messages), ``series`` (per series its ``name``,
        ``first_year``, ``last_year``, ``header_lines`` and ``label``) and ``conventions``
        (those of the data bank's files the reading needed).

    Each warning of the command line about the file is issued as a :class:`QuilletWarning`
    (``FILE:LINE: warning: ...``); a file the command line does not convert raises
    :class:`QuilletError` with its error lines. In messages FILE is the path as given,
    ``<bytes>``, or the file object's name (``<stream>`` without one).
    """
    file_type = _file_type(type)
    reader = _quillet.Reader()
    name, converted, used_type, lines = _read_source(reader, source, file_type, strict, False)
    if not converted:
        raise _error(name, lines)
    _warn(lines, stacklevel=2)
    years, counts, values, series, conventions = reader.wide()
    names = _unique(["N"] + [facts["name"] for facts in series])
    frame = pd.DataFrame(values, index=pd.Index(years, name="year"), columns=names[1:], copy=False)
    frame.insert(0, names[0], counts, allow_duplicates=True)
    frame.attrs["file_type"] = used_type
    frame.attrs["source"] = name
    frame.attrs["series"] = series
    frame.attrs["conventions"] = conventions
    return frame


def read_long(
    sources: Union[Source, Iterable[Source]],
    *,
    type: Union[str, int] = "auto",
    strict: bool = False,
    errors: str = "raise",
) -> pd.DataFrame:
    """Reads decade-line files into one long table: a row per value of every series.

    Parameters
    ----------
    sources : a source or an iterable of sources
        Each as :func:`read` takes it (path, bytes-like or binary file object).
    type, strict
        As for :func:`read`, for every source.
    errors : "raise" or "warn"
        A source that is not converted raises :class:`QuilletError` before anything is
        returned ("raise"), or is left out with its lines issued as :class:`QuilletWarning`
        ("warn").

    Returns
    -------
    pandas.DataFrame
        The columns of ``quillet --long``: ``file`` (str, the source's name in messages),
        ``series_number`` (int64, from 1 in its file), ``series`` (str, the name without
        trailing blanks), ``year`` (int64), ``value`` (float64, rounded to thousandths as the
        column file rounds it) and ``count`` (int64, the series' own count beside the value),
        in the order of the sources and their series, each series from its first year to its
        last.
    """
    if errors not in ("raise", "warn"):
        raise ValueError(f"errors must be 'raise' or 'warn', not {errors!r}")
    file_type = _file_type(type)
    sources = [sources] if _is_single(sources) else list(sources)
    reader = _quillet.Reader()
    table = _quillet.LongTable(_rows_estimate(sources))
    files: List[str] = []
    for source in sources:
        name, converted, _, lines = _read_source(reader, source, file_type, strict, True)
        if not converted:
            if errors == "raise":
                raise _error(name, lines)
            _warn(lines, stacklevel=2)
            continue
        _warn(lines, stacklevel=2)
        table.add(reader, len(files))
        files.append(name)
    rows, ints, value, file_codes, series_codes, series_names = table.columns()
    # The columns as C++ filled them, each a block of its own: nothing is copied again.
    columns = [
        ("file", np.array(files + [""], dtype=object)[:-1][file_codes[:rows]]),
        ("series_number", ints[0, :rows]),
        ("series", np.array(series_names + [""], dtype=object)[:-1][series_codes[:rows]]),
        ("year", ints[1, :rows]),
        ("value", value[:rows]),
        ("count", ints[2, :rows]),
    ]
    frame = pd.concat(
        [pd.Series(column, name=name, copy=False) for name, column in columns], axis=1, copy=False
    )
    return frame


def _rows_estimate(sources: List[Source]) -> int:
    """About the values the sources hold (a value takes 7 columns of a decade line)."""
    total = 0
    for source in sources:
        try:
            total += os.stat(source).st_size if _is_path(source) else len(memoryview(source).cast("B"))
        except (OSError, TypeError, ValueError):
            pass
    return total // 7


def convert(
    sources: Union[str, "os.PathLike[str]", Iterable[Union[str, "os.PathLike[str]"]]],
    *,
    type: Union[str, int] = "auto",
    output_dir: Optional[Union[str, "os.PathLike[str]"]] = None,
    missing: Optional[str] = None,
    strict: bool = False,
) -> List[str]:
    """Writes the column file of each file, as ``quillet FILE...`` does, and prints nothing.

    Parameters
    ----------
    sources : a path or an iterable of paths
    type, strict
        As for :func:`read`, for every file.
    output_dir : path, optional
        An existing folder for the column files (by default each goes beside its file).
    missing : str, optional
        The text of the cells outside a series' years instead of 0.000 (``"NA"`` for R and
        pandas); it may not hold a TAB, CR or LF.

    Every file that can be converted is, with the command line's names, bytes and refusals
    (a file given twice, a column file that would overwrite an input), each written whole or
    not at all. The warnings about converted files are issued as :class:`QuilletWarning`.

    Returns
    -------
    list of str
        The column files written, in order. When some file was not converted, one
        :class:`QuilletError` is raised instead, after every other file is converted, with
        the lines of every file that failed. Options the command line refuses raise
        :class:`QuilletError` before anything is written.
    """
    file_type = _file_type(type)
    if _is_path(sources):
        sources = [sources]
    paths = []
    for source in sources:
        if not _is_path(source):
            raise TypeError(f"convert takes paths only, not {builtins.type(source).__name__}")
        paths.append(os.fsencode(os.fspath(source)))
    folder = None if output_dir is None else os.fsencode(os.fspath(output_dir))
    if missing is not None and not isinstance(missing, str):
        raise TypeError("missing must be a str")
    problem = _quillet.options_problem(folder, missing)
    if problem is not None:
        raise QuilletError(problem, None, None, [problem])
    reports = _quillet.convert_files(paths, file_type, strict, folder, missing)
    written = []
    failed = []
    for file, converted, column_file, lines, _summary in reports:
        if converted:
            _warn(lines, stacklevel=2)
            written.append(column_file)
        else:
            failed.append((file, lines))
    if failed:
        errors = [_error(file, lines) for file, lines in failed]
        raise QuilletError(
            "\n".join(error.message for error in errors),
            errors[0].file,
            errors[0].line,
            [line for error in errors for line in error.lines],
        )
    return written

