"""Running nvtool under Wine and recording the outcome of each check."""

import os
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def wine_environment(prefix):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": prefix,
        "WINEARCH": "win64",
        "WINEDEBUG": "-all,err+virtual",
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        "LC_ALL": "C.UTF-8",
    })
    return env


def windows_path(unix_path):
    """The drive Z: path under which a Unix path is visible to the program."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


# Now and then Wine cannot start a process at all: it finds the fixed address of its shared user
# data taken and ends with exit code 1 before the program runs (about 1 start in 3,000 here). Its
# error channel for memory stays on so that such a start is told apart and tried again.
WINE_START_FAILURE = b"failed to map the shared user data"


class Result:
    def __init__(self, code, out, err):
        self.code, self.out, self.err = code, out, err


class NvTool:
    def __init__(self, exe, prefix, timeout=30):
        self.exe = exe
        self.env = wine_environment(prefix)
        self.timeout = timeout

    def run(self, *args):
        for _ in range(3):
            result = self._run_once(args)
            if not (result.code != 0 and WINE_START_FAILURE in result.err):
                break
        return result

    def _run_once(self, args):
        # Output goes to files, not pipes: a background process of Wine that inherits them must
        # not keep the run waiting for the end of its output.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            try:
                done = subprocess.run(["wine", self.exe, *args], env=self.env, stdout=out, stderr=err,
                                      timeout=self.timeout)
                code = done.returncode
            except subprocess.TimeoutExpired:
                code = -1
            out.seek(0)
            err.seek(0)
            return Result(code, out.read(), err.read() + (b"timeout" if code == -1 else b""))

    def wine(self, *args):
        """Runs another Windows program of the prefix (such as reg); true when it succeeded."""
        done = subprocess.run(["wine", *args], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=self.timeout)
        return done.returncode == 0


def write_file(folder, name, data):
    """Writes data as folder/name and returns the path."""
    path = os.path.join(folder, name)
    with open(path, "wb") as handle:
        handle.write(data)
    return path


def show_bytes(data, limit=160):
    text = repr(bytes(data[:limit]))
    return text + ("... (%d bytes)" % len(data) if len(data) > limit else "")


def first_difference(expected, actual):
    for i, (a, b) in enumerate(zip(expected, actual)):
        if a != b:
            return i
    return min(len(expected), len(actual))


class Checks:
    def __init__(self, verbose=False):
        self.passed = 0
        self.failed = 0
        self.verbose = verbose
        self.notes = []

    def equal(self, name, expected, actual, input_bytes=None):
        if expected == actual:
            self.passed += 1
            if self.verbose:
                print("ok   %s" % name)
            return True
        self.failed += 1
        print("FAIL %s" % name)
        if input_bytes is not None:
            print("     input:    %s" % show_bytes(input_bytes))
        if isinstance(expected, (bytes, bytearray)) and isinstance(actual, (bytes, bytearray)):
            at = first_difference(expected, actual)
            print("     first difference at byte %d" % at)
            start = max(0, at - 40)
            print("     expected: %s" % show_bytes(expected[start:start + 160]))
            print("     actual:   %s" % show_bytes(actual[start:start + 160]))
        else:
            print("     expected: %r" % (expected,))
            print("     actual:   %r" % (actual,))
        sys.stdout.flush()
        return False

    def true(self, name, condition, detail=""):
        return self.equal(name + (" (%s)" % detail if detail else ""), True, bool(condition))

    def note(self, text):
        """Observed behaviour that the checks do not judge (free choices of the implementation)."""
        self.notes.append(text)
