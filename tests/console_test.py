#!/usr/bin/env python3
"""How a run behaves on a real console and when it is cut short: on a pseudo-terminal, with
the prompt read through a pipe while the program waits, with standard output and error
closed, with standard output on a full device, without memory for the tables, and killed
while it writes the column file.

    console_test.py <quillet binary> <examples folder> <generator binary> [test name ...]

Each test runs the real binary in a scratch folder. Under a sanitizer build (QUILLET_SANITIZED
set) the memory test limits the allocator instead of the address space.
"""
import os
import pty
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

QUILLET = GENERATE = EXAMPLES = None

NAME_PROMPT = b"  Enter INPUT file name       => "
TYPE_PROMPT = b"  Enter File Type => "
PAST_END = b"? Run-time Error:\n? Attempt to read past end of file\n? READ(UNIT=*,...\n"


class Scratch:
    def __enter__(self):
        self.path = tempfile.mkdtemp(prefix="quillet-console-")
        shutil.copy(os.path.join(EXAMPLES, "ring01.crn"), self.path)
        return self.path

    def __exit__(self, *exc):
        shutil.rmtree(self.path, ignore_errors=True)


class Terminal:
    """The program on a pseudo-terminal: what it shows is read as a terminal would show it."""

    def __init__(self, cwd):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(cwd)
            os.execv(QUILLET, [QUILLET])
        self.screen = b""
        self.seen = 0  # how much of the screen earlier waits have passed

    def wait_for(self, text, timeout=10.0):
        """Waits until `text` is shown behind what the last wait found."""
        end = time.monotonic() + timeout
        while (found := self.screen.replace(b"\r\n", b"\n").find(text, self.seen)) < 0:
            left = end - time.monotonic()
            if left <= 0:
                raise AssertionError(f"{text!r} not shown; the screen holds {self.screen[-300:]!r}")
            ready, _, _ = select.select([self.fd], [], [], left)
            if ready:
                try:
                    chunk = os.read(self.fd, 4096)
                except OSError:
                    chunk = b""
                if not chunk:
                    raise AssertionError(f"{text!r} not shown before the end: {self.screen[-300:]!r}")
                self.screen += chunk
        self.seen = found + len(text)

    def type(self, keys):
        os.write(self.fd, keys)

    def finish(self):
        while True:
            try:
                chunk = os.read(self.fd, 4096)
            except OSError:
                break
            if not chunk:
                break
            self.screen += chunk
        _, status = os.waitpid(self.pid, 0)
        os.close(self.fd)
        # the terminal shows CR LF for every line end
        return os.waitstatus_to_exitcode(status), self.screen.replace(b"\r\n", b"\n")


class ConsoleTest(unittest.TestCase):
    def test_terminal_dialogue(self):
        # Answers typed at the prompts: each stays on its prompt's line (the terminal echoes
        # it), and what follows begins on the next line, with no empty line added.
        with Scratch() as work:
            term = Terminal(work)
            term.wait_for(NAME_PROMPT)
            term.type(b"nosuch.crn\n")
            term.wait_for(b"Hit return to enter a new file name or / exit program.\n")
            term.type(b"\n")
            term.wait_for(NAME_PROMPT)
            term.type(b"ring01.crn\n")
            term.wait_for(TYPE_PROMPT)
            term.type(b"1\n")
            status, screen = term.finish()
            self.assertEqual(status, 0)
            self.assertIn(NAME_PROMPT + b"nosuch.crn\n\n *********** File Not Found ************\n"
                          b" nosuch.crn                              \n", screen)
            self.assertIn(NAME_PROMPT + b"ring01.crn\n  \n  SELECT FILE TYPE \n", screen)
            self.assertIn(TYPE_PROMPT + b"1\n  \n  \n  Opening files ============|\n", screen)
            self.assertTrue(screen.endswith(b"\n  Normal Termination of Program Quillet\n"))
            with open(os.path.join(work, "ring01_COL"), "rb") as f:
                self.assertTrue(f.read().startswith(b" Year\tN\tRING01  \tRING02  \n1850\t"))

    def test_terminal_input_ends_at_each_prompt(self):
        # Ctrl-D at a prompt: the error report begins on a new line, never behind the prompt.
        for answers, prompt in ((b"", NAME_PROMPT), (b"ring01.crn\n", TYPE_PROMPT)):
            with Scratch() as work:
                term = Terminal(work)
                term.wait_for(NAME_PROMPT)
                if answers:
                    term.type(answers)
                    term.wait_for(prompt)
                term.type(b"\x04")
                status, screen = term.finish()
                self.assertEqual(status, 255)
                self.assertTrue(screen.endswith(prompt + b"\n" + PAST_END), screen[-200:])

    def test_prompt_reaches_a_pipe_while_the_program_waits(self):
        with Scratch() as work:
            proc = subprocess.Popen([QUILLET], cwd=work, stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            shown = b""
            deadline = time.monotonic() + 10
            while not shown.endswith(NAME_PROMPT):
                ready, _, _ = select.select([proc.stdout], [], [], deadline - time.monotonic())
                self.assertTrue(ready, f"no prompt while the program waits: {shown[-200:]!r}")
                chunk = os.read(proc.stdout.fileno(), 4096)
                self.assertTrue(chunk, "the program ended without asking")
                shown += chunk
            self.assertIsNone(proc.poll())  # it is waiting for the answer
            out, err = proc.communicate(b"/\n", timeout=10)
            self.assertEqual((proc.returncode, out, err), (0, b"\n", b""))

    def test_closed_standard_output_and_error(self):
        # The warning of a cut-off series has nowhere to go, and must not land in a file.
        with Scratch() as work:
            with open(os.path.join(work, "cut.crn"), "w") as f:
                f.write("H\nH\nH\nCUT0011900 500  1 500  1\n")
            status = subprocess.run(["bash", "-c", f"'{QUILLET}' >&- 2>&-"], cwd=work,
                                    input=b"cut.crn\n1\n").returncode
            self.assertEqual(status, 0)
            self.assertEqual(sorted(os.listdir(work)), ["cut.crn", "cut_COL", "ring01.crn"])
            with open(os.path.join(work, "cut_COL"), "rb") as f:
                self.assertEqual(f.read(), b" Year\tN\n")

    def test_standard_output_on_a_full_device(self):
        with Scratch() as work:
            with open("/dev/full", "wb") as full:
                run = subprocess.run([QUILLET], cwd=work, input=b"ring01.crn\n1\n", stdout=full,
                                     stderr=subprocess.PIPE)
            self.assertEqual(run.returncode, 255)
            self.assertEqual(run.stderr, b"? System Error:\n? No space left on device\n"
                             b"? WRITE(UNIT=*,...\n")
            self.assertEqual(os.listdir(work), ["ring01.crn"])

    def test_not_enough_memory_for_the_tables(self):
        with Scratch() as work:
            old = b"an old column file\n" * 10
            with open(os.path.join(work, "ring01_COL"), "wb") as f:
                f.write(old)
            env = dict(os.environ)
            sanitized = bool(os.environ.get("QUILLET_SANITIZED"))
            if sanitized:
                env["ASAN_OPTIONS"] = "allocator_may_return_null=1:max_allocation_size_mb=16"
                command = [QUILLET]
            else:
                # room for the program and its buffers, not for a 24 MB table
                command = ["bash", "-c", f"ulimit -v 20000 && exec '{QUILLET}'"]
            run = subprocess.run(command, cwd=work, input=b"ring01.crn\n1\n",
                                 capture_output=True, env=env)
            self.assertEqual(run.returncode, 255, run.stderr)
            # (the sanitizer's own warning about the refused allocation is left out)
            stderr = b"".join(line for line in run.stderr.splitlines(keepends=True)
                              if not (sanitized and line.startswith(b"==")))
            self.assertEqual(stderr, b"? Run-time Error:\n? Not enough memory\n"
                             b"? READ(UNIT=14,...\n")
            self.assertTrue(run.stdout.endswith(b"  ==========================|\n  \n"))
            with open(os.path.join(work, "ring01_COL"), "rb") as f:
                self.assertEqual(f.read(), old)

    def test_killed_while_writing_leaves_no_old_line(self):
        # A full table (1500 series of 8000 values, 84 MB) written over a longer old file; the
        # run is stopped with SIGTERM once its first lines are in the column file.
        with Scratch() as work:
            subprocess.run([GENERATE, "--series", "1500", "--min-length", "8000", "--max-length",
                            "8000", "--first-year", "1000", "--last-first-year", "1000",
                            "--seed", "1", "--out", os.path.join(work, "full.crn")], check=True)
            column_file = os.path.join(work, "full_COL")
            old_line = b"OLD" + b"x" * 96 + b"\n"
            with open(column_file, "wb") as f:
                f.write(old_line * 1_000_000)
            old_size = os.path.getsize(column_file)
            for attempt in range(5):
                proc = subprocess.Popen([QUILLET], cwd=work, stdin=subprocess.PIPE,
                                        stdout=subprocess.DEVNULL)
                proc.stdin.write(b"full.crn\n1\n")
                proc.stdin.close()
                while proc.poll() is None and os.path.getsize(column_file) in (0, old_size):
                    time.sleep(0.0002)
                proc.send_signal(signal.SIGTERM)
                proc.wait()
                if proc.returncode == -signal.SIGTERM:
                    break
                with open(column_file, "wb") as f:  # it finished first: try again
                    f.write(old_line * 1_000_000)
            self.assertEqual(proc.returncode, -signal.SIGTERM, "never caught while writing")
            with open(column_file, "rb") as f:
                left = f.read()
            old_lines = left.count(b"OLD")
            print(f"\nold file {old_size} bytes, {len(left)} bytes left after SIGTERM, "
                  f"old lines found: {old_lines}", file=sys.stderr)
            self.assertEqual(old_lines, 0)
            self.assertTrue(left == b"" or left.startswith(b" Year\tN\tG00001  \tG00002"), left[:40])


if __name__ == "__main__":
    QUILLET, EXAMPLES, GENERATE = (os.path.abspath(a) for a in sys.argv[1:4])
    unittest.main(argv=[sys.argv[0]] + [f"ConsoleTest.{n}" for n in sys.argv[4:]], verbosity=1)
