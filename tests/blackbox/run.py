#!/usr/bin/env python3
"""Black-box checks of nvtool's formats against independent models.

Runs build/windows/nvtool.exe under Wine in a prefix of its own (build/blackbox/prefix, created on
first use) and ends with the line "blackbox: N passed, M failed"; exit code 0 when nothing failed.
Options: --only NAME[,NAME] (cipher, ini, bookmarks, writer, import, archive), --seed N, --verbose.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402

SUITES = ("cipher", "ini", "bookmarks", "writer", "import", "archive")


def ensure_prefix(prefix):
    env = harness.wine_environment(prefix)
    if not os.path.exists(os.path.join(prefix, "system.reg")):
        os.makedirs(prefix, exist_ok=True)
        subprocess.run(["wineboot", "-i"], env=env, capture_output=True)
        subprocess.run(["wineserver", "-w"], env=env, capture_output=True)
    # A persistent server of our own keeps each program start short; it ends with this run.
    server = subprocess.Popen(["wineserver", "-f", "-p"], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    # The session's first program starts Wine's background services, which would inherit and
    # hold the output pipes of a captured run: start them with the output going nowhere.
    subprocess.run(["wine", "cmd", "/c", "exit"], env=env, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120)
    return server


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--only", default=",".join(SUITES))
    parser.add_argument("--seed", type=int, default=int(os.environ.get("BLACKBOX_SEED", "20041206")))
    parser.add_argument("--verbose", action="store_true")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    parser.add_argument("--exe", help="another nvtool.exe to check")
    options = parser.parse_args()

    exe = options.exe or os.path.join(harness.ROOT, "build", "windows", "nvtool.exe")
    prefix = os.environ.get("NV_BLACKBOX_PREFIX", os.path.join(harness.ROOT, "build", "blackbox", "prefix"))
    checks = harness.Checks(options.verbose)
    if not os.path.exists(exe):
        print("nvtool.exe is missing: build with scripts/build.sh windows")
        checks.failed += 1
    else:
        server = ensure_prefix(prefix)
        work = tempfile.mkdtemp(prefix="nv_blackbox_")
        tool = harness.NvTool(exe, prefix)
        try:
            usage = tool.run().err
            for name in options.only.split(","):
                if name == "archive" and b"archive" not in usage:
                    print("archive    skipped: this nvtool has no archive commands yet")
                    continue
                module = __import__("check_" + name)
                started = time.time()
                before = (checks.passed, checks.failed)
                module.run(tool, checks, work, random.Random("%s/%d" % (name, options.seed)))
                print("%-10s %4d passed, %d failed (%.1f s)" % (name, checks.passed - before[0],
                                                                checks.failed - before[1], time.time() - started))
                sys.stdout.flush()
        finally:
            # Ends the session of our own prefix: its background services and then the server.
            subprocess.run(["wineserver", "-k"], env=tool.env, capture_output=True, timeout=60)
            try:
                server.wait(timeout=30)
            except subprocess.TimeoutExpired:
                server.kill()
                server.wait()
            if options.keep:
                print("work folder: " + work)
            else:
                shutil.rmtree(work, ignore_errors=True)
        for note in checks.notes:
            print("note: " + note)
    print("blackbox: %d passed, %d failed" % (checks.passed, checks.failed))
    if os.environ.get("NV_COUNTS"):
        with open(os.environ["NV_COUNTS"], "a") as counts:
            counts.write("blackbox %d %d\n" % (checks.passed, checks.failed))
    return 0 if checks.failed == 0 and checks.passed > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
