#!/usr/bin/env python3
"""The command line in unfriendly surroundings, on the real disk: stopped by a signal while it
writes a column file, names as long as the system allows, a replaced column file's
permission bits, inputs that cannot seek (FIFOs, /dev/fd/N), standard input that cannot be
read, and standard output on a full device.

    surroundings_test.py <quillet binary> <examples folder> <generator binary> [test name ...]
"""
import os
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import time
import unittest

QUILLET = GENERATE = EXAMPLES = None


class Scratch:
    def __enter__(self):
        self.path = tempfile.mkdtemp(prefix="quillet-surroundings-")
        shutil.copy(os.path.join(EXAMPLES, "ring01.crn"), self.path)
        return self.path

    def __exit__(self, *exc):
        shutil.rmtree(self.path, ignore_errors=True)


def run(args, cwd, **kwargs):
    return subprocess.run([QUILLET] + args, cwd=cwd, capture_output=True, **kwargs)


def ring01_table(work):
    """ring01.crn's table, as the program writes it to standard output."""
    with open(os.path.join(work, "ring01.crn"), "rb") as f:
        return run(["-t", "1", "-"], work, stdin=f).stdout


def new_files(work):
    return sorted(n for n in os.listdir(work) if n.startswith(".q"))


class SurroundingsTest(unittest.TestCase):
    def test_stopped_run_leaves_the_old_column_file_and_no_new_one(self):
        # A table of 300 series of 8000 values (17 MB), stopped by each signal once its new
        # file is there; the old column file, readable by its owner only, stays as it was.
        with Scratch() as work:
            subprocess.run([GENERATE, "--series", "300", "--min-length", "8000", "--max-length",
                            "8000", "--first-year", "1000", "--last-first-year", "1000",
                            "--seed", "1", "--out", os.path.join(work, "big.crn")], check=True)
            column_file = os.path.join(work, "big_COL")
            old = b"OLD TABLE\n" * 1000
            for signal_number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
                with open(column_file, "wb") as f:
                    f.write(old)
                os.chmod(column_file, 0o600)
                for attempt in range(5):
                    proc = subprocess.Popen([QUILLET, "-t", "1", "big.crn"], cwd=work,
                                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                    while proc.poll() is None and not new_files(work):
                        time.sleep(0.0002)
                    proc.send_signal(signal_number)
                    proc.wait()
                    with open(column_file, "rb") as f:
                        if f.read() == old:
                            break
                    with open(column_file, "wb") as f:  # it finished first: try again
                        f.write(old)
                name = signal.Signals(signal_number).name
                self.assertEqual(proc.returncode, -signal_number, name)
                self.assertEqual(new_files(work), [], name)
                with open(column_file, "rb") as f:
                    self.assertEqual(f.read(), old, name)
                self.assertEqual(stat.S_IMODE(os.stat(column_file).st_mode), 0o600, name)

            # A signal the program was started with ignored stays ignored: the run ends whole.
            proc = subprocess.Popen([QUILLET, "-q", "-t", "1", "big.crn"], cwd=work,
                                    preexec_fn=lambda: signal.signal(signal.SIGHUP, signal.SIG_IGN))
            while proc.poll() is None and not new_files(work):
                time.sleep(0.0002)
            proc.send_signal(signal.SIGHUP)
            self.assertEqual(proc.wait(), 0)
            self.assertEqual(new_files(work), [])
            with open(column_file, "rb") as f:
                self.assertTrue(f.read(40).startswith(b" Year\tN\tG00001  \tG00002"))

    def test_longest_names_and_permission_bits(self):
        with Scratch() as work:
            table = ring01_table(work)
            longest = "a" * 251 + ".crn"  # 255 bytes, and so is its column file's name
            shutil.copy(os.path.join(work, "ring01.crn"), os.path.join(work, longest))
            done = run(["-q", "-t", "1", longest], work)
            self.assertEqual((done.returncode, done.stderr), (0, b""))
            with open(os.path.join(work, "a" * 251 + "_COL"), "rb") as f:
                self.assertEqual(f.read(), table)
            # A replaced column file keeps its permission bits; a new one gets the umask's.
            column_file = os.path.join(work, "ring01_COL")
            with open(column_file, "wb") as f:
                f.write(b"old\n")
            os.chmod(column_file, 0o640)
            done = run(["-q", "-t", "1", "ring01.crn"], work, preexec_fn=lambda: os.umask(0o077))
            self.assertEqual(done.returncode, 0)
            self.assertEqual(stat.S_IMODE(os.stat(column_file).st_mode), 0o640)
            os.remove(column_file)
            done = run(["-q", "-t", "1", "ring01.crn"], work, preexec_fn=lambda: os.umask(0o027))
            self.assertEqual(stat.S_IMODE(os.stat(column_file).st_mode), 0o640)
            os.remove(column_file)
            done = run(["-q", "-t", "1", "ring01.crn"], work, preexec_fn=lambda: os.umask(0o022))
            self.assertEqual(stat.S_IMODE(os.stat(column_file).st_mode), 0o644)
            self.assertEqual(new_files(work), [])

    def test_inputs_that_cannot_seek(self):
        # Needs the command line to read such an input whole under auto (made_rewindable).
        with Scratch() as work:
            shutil.copy(os.path.join(EXAMPLES, "slopes.mst"), work)
            expected = run(["-t", "auto", "-o", ".", "slopes.mst"], work)
            self.assertEqual(expected.returncode, 0, expected.stderr)
            with open(os.path.join(work, "slopes_COL"), "rb") as f:
                table = f.read()
            os.remove(os.path.join(work, "slopes_COL"))
            os.mkfifo(os.path.join(work, "slopes.pipe"))
            feeder = subprocess.Popen(["sh", "-c", "cat slopes.mst > slopes.pipe"], cwd=work)
            done = run(["slopes.pipe"], work)
            feeder.wait()
            self.assertEqual(done.returncode, 0, done.stderr)
            with open(os.path.join(work, "slopes_COL"), "rb") as f:
                self.assertEqual(f.read(), table)
            # /dev/fd/N: a pipe handed down as a descriptor (bash's process substitution).
            done = subprocess.run(["bash", "-c", f"'{QUILLET}' -q -o out <(cat slopes.mst)"],
                                  cwd=work, capture_output=True,
                                  preexec_fn=lambda: os.mkdir(os.path.join(work, "out")))
            self.assertEqual(done.returncode, 0, done.stderr)
            written = os.listdir(os.path.join(work, "out"))
            self.assertEqual(len(written), 1)
            with open(os.path.join(work, "out", written[0]), "rb") as f:
                self.assertEqual(f.read(), table)

    def test_standard_input_that_cannot_be_read(self):
        # Needs the command line to read FILE - through ConsoleStreams::data_input().
        with Scratch() as work:
            os.mkdir(os.path.join(work, "folder"))
            for args in (["-t", "1", "-"], ["-"]):
                folder = os.open(os.path.join(work, "folder"), os.O_RDONLY | os.O_DIRECTORY)
                done = run(args, work, stdin=folder)
                os.close(folder)
                self.assertEqual(done.returncode, 1, args)
                self.assertEqual(done.stdout, b"", args)
                self.assertEqual(done.stderr, b"-: error: cannot read -: Is a directory\n", args)
            if shutil.which("strace") is None:
                return
            # A read failure part way through standard input: nothing is written for it. The
            # failure is injected into the second read of standard input (the reads before
            # it, of the program's libraries, are counted first).
            subprocess.run([GENERATE, "--series", "50", "--min-length", "400", "--max-length",
                            "400", "--type", "1", "--out", os.path.join(work, "g.crn")],
                           check=True)
            trace = os.path.join(work, "trace")

            def traced(*strace_args):
                with open(os.path.join(work, "g.crn"), "rb") as f:
                    return subprocess.run(["strace", "-o", trace, "-e", "trace=read",
                                           *strace_args, QUILLET, "-t", "1", "-"], cwd=work,
                                          stdin=f, capture_output=True)

            if traced().returncode != 0:
                self.skipTest("strace cannot run the program here")
            with open(trace) as f:
                reads = [line for line in f if line.startswith("read(")]
            first = next(i for i, line in enumerate(reads) if line.startswith("read(0,"))
            done = traced("-e", f"inject=read:error=EIO:when={first + 2}")
            self.assertEqual(done.returncode, 1)
            self.assertEqual(done.stdout, b"")
            self.assertEqual(done.stderr, b"-: error: cannot read -: Input/output error\n")

    def test_standard_output_on_a_full_device(self):
        # Needs the command line's handling of a failing standard output.
        with Scratch() as work:
            for args in (["-t", "1", "ring01.crn"], ["--help"], ["--version"]):
                with open("/dev/full", "wb") as full:
                    done = subprocess.run([QUILLET] + args, cwd=work, stdout=full,
                                          stderr=subprocess.PIPE)
                self.assertEqual(done.returncode, 1, args)
                self.assertNotIn(b"terminate", done.stderr, args)
                self.assertEqual(done.stderr.count(b"\n"), 1, done.stderr)
                self.assertIn(b"standard output", done.stderr, args)
            with open(os.path.join(work, "ring01_COL"), "rb") as f:
                self.assertEqual(f.read(), ring01_table(work))


if __name__ == "__main__":
    QUILLET, EXAMPLES, GENERATE = (os.path.abspath(a) for a in sys.argv[1:4])
    unittest.main(argv=[sys.argv[0]] + [f"SurroundingsTest.{n}" for n in sys.argv[4:]],
                  verbosity=1)
