"""The GIL is let go while a file is read, and the README's Python example runs as written."""

import re
import subprocess
import sys
import textwrap

from conftest import SOURCE_DIR


def test_reading_lets_other_threads_run(tmp_path):
    # The reader waits in open() for a writer of the FIFO, which only this process's main
    # thread can be: with the GIL held the process would hang (and be killed by the timeout).
    script = textwrap.dedent("""
        import os, sys, threading, quillet
        fifo = sys.argv[1]
        os.mkfifo(fifo)
        frames = []
        reading = threading.Thread(target=lambda: frames.append(quillet.read(fifo, type=0)))
        reading.start()
        with open(fifo, "wb") as pipe:
            pipe.write(b"ABC   1850 100  1 200  19990  0\\n")
        reading.join()
        print(frames[0]["ABC"].tolist())
    """)
    result = subprocess.run([sys.executable, "-c", script, str(tmp_path / "fifo")],
                            capture_output=True, text=True, timeout=60)
    assert (result.returncode, result.stdout, result.stderr) == (0, "[0.1, 0.2]\n", "")


def readme_snippet(marker):
    """The fenced block behind <!-- marker --> in the README."""
    document = SOURCE_DIR / "README.md"
    found = re.search(rf"<!-- {marker} -->\n```[a-z]*\n(.*?)```\n", document.read_text(), re.S)
    if not found:
        raise AssertionError(f"no <!-- {marker} --> block")
    return found.group(1)


def test_readme_example_runs_as_written():
    snippet = readme_snippet("python-read")
    assert len(snippet.splitlines()) == 5
    result = subprocess.run([sys.executable, "-"], input=snippet, cwd=SOURCE_DIR,
                            capture_output=True, text=True, timeout=60)
    assert result.stderr == ""
    assert [line.rstrip() for line in result.stdout.splitlines()] == [
        "      N  RING01  RING02",
        "year",
        "1850  3   1.031     NaN",
        "1851  3   0.854     NaN",
        "1852  3   1.104     NaN",
        "series",
        "CORE1A    1",
        "CORE2B    1",
        "RING01    8",
        "RING02    2",
        "Name: count, dtype: int64",
    ]
