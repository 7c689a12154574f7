#!/usr/bin/env python3
"""Runs the end-to-end tests (tests/e2e/test_*.py, functions test_*(h)) under Wine.

Usage: run.py [-k PART_OF_NAME] [--timeout SECONDS] [--second-locale]
Each test runs with a time limit; whatever it started is killed when it ends. A failed
test leaves a screenshot in build/artifacts/e2e/. Closing line: "N passed, N failed".

--second-locale runs the tests listed in second_locale.txt (those that cross every kind
of Japanese text the programs show, store or name) under C.UTF-8, code page 1252 as on a
Western Windows, in a prefix of their own ($TAVREL_E2E_PREFIX-c-utf8); failures go to
build/artifacts/e2e-c-utf8/.
"""
import argparse
import fcntl
import glob
import importlib.util
import os
import shutil
import signal
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import harness  # noqa: E402


class TestTimeout(Exception):
    pass


def on_alarm(_signum, _frame):
    raise TestTimeout()


def unexpected_error(error, full):
    """One line for an error that is not a failed check: what and where in the tests; the
    whole traceback goes to a file beside the screenshots."""
    here = os.path.dirname(os.path.abspath(__file__))
    frames = [f for f in traceback.extract_tb(error.__traceback__) if f.filename.startswith(here)]
    where = f" at {os.path.basename(frames[-1].filename)}:{frames[-1].lineno}" if frames else ""
    os.makedirs(harness.ARTIFACTS, exist_ok=True)
    trace = os.path.join(harness.ARTIFACTS, f"{full}.traceback.txt")
    with open(trace, "w") as f:
        f.write("".join(traceback.format_exception(error)))
    return f"{type(error).__name__}: {error}{where} (traceback: {os.path.relpath(trace, harness.ROOT)})"


HERE = os.path.dirname(os.path.abspath(__file__))
SECOND_LOCALE_LIST = os.path.join(HERE, "second_locale.txt")


def second_locale_names():
    """The test names (file.function) listed for the second locale."""
    names = []
    with open(SECOND_LOCALE_LIST, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                names.append(line)
    return names


def collect(pattern, only=None):
    """The tests whose names hold pattern; with only, just those names (each must exist)."""
    tests = []
    here = HERE
    for path in sorted(glob.glob(os.path.join(here, "test_*.py"))):
        name = os.path.splitext(os.path.basename(path))[0]
        spec = importlib.util.spec_from_file_location(name, path)
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        functions = [(getattr(module, attr), attr) for attr in vars(module) if attr.startswith("test_")]
        functions = [(fn, attr) for fn, attr in functions if callable(fn)]
        for fn, attr in sorted(functions, key=lambda pair: pair[0].__code__.co_firstlineno):
            full = f"{name}.{attr}"
            if (not pattern or pattern in full) and (only is None or full in only):
                tests.append((full, fn))
    if only is not None:
        missing = sorted(set(only) - {full for full, _ in collect("")})
        if missing:
            sys.exit(f"run.py: {os.path.basename(SECOND_LOCALE_LIST)} names tests that do not exist: "
                     + ", ".join(missing))
    return tests


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("-k", dest="pattern", default="")
    ap.add_argument("--timeout", type=int, default=120, help="limit per test in seconds")
    ap.add_argument("--second-locale", action="store_true",
                    help=f"the tests of second_locale.txt under {harness.SECOND_LOCALE}, in their own prefix")
    args = ap.parse_args()

    only = None
    if args.second_locale:
        harness.use_locale(harness.SECOND_LOCALE)  # before the tests load: they read its folders
        only = second_locale_names()
    print(f"locale {harness.LOCALE}, prefix {harness.PREFIX}", flush=True)
    tests = collect(args.pattern, only)
    # Runs on one prefix take turns: each test kills the prefix's wineserver.
    os.makedirs(os.path.dirname(harness.PREFIX), exist_ok=True)
    lock = open(harness.PREFIX + ".lock", "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        print(f"waiting for another end-to-end run on {harness.PREFIX}", flush=True)
        waited = time.monotonic()
        fcntl.flock(lock, fcntl.LOCK_EX)
        print(f"waited {time.monotonic() - waited:.0f}s", flush=True)
    shutil.rmtree(harness.ARTIFACTS, ignore_errors=True)
    passed, failed = [], []
    display = None
    signal.signal(signal.SIGALRM, on_alarm)
    for full, fn in tests:
        if display is None:
            display = harness.prepare_prefix()
        harness.kill_wineserver(display)
        harness.reset_prefix()
        h = harness.Harness(full.replace(".", "-"), display)
        h.ui("list-windows")  # starts the wineserver and Wine's services before the test
        start = time.monotonic()
        signal.alarm(getattr(fn, "timeout", args.timeout))
        try:
            fn(h)
            signal.alarm(0)
            passed.append(full)
            print(f"PASS {full} ({time.monotonic() - start:.1f}s)", flush=True)
        except BaseException as error:  # a failing test must never stop the others
            signal.alarm(0)
            if isinstance(error, KeyboardInterrupt):
                raise
            failed.append(full)
            try:
                shot = h.screenshot("failure")
            except Exception:  # the display itself may be the trouble
                shot = "(no screenshot)"
            if isinstance(error, TestTimeout):
                reason = f"timed out after {getattr(fn, 'timeout', args.timeout)}s"
            elif isinstance(error, harness.CheckFailed):
                reason = str(error)
            else:
                reason = unexpected_error(error, full)
            reason = " ".join(reason.split("\n"))
            print(f"FAIL {full} ({time.monotonic() - start:.1f}s): {reason}\n     screen: {shot}",
                  flush=True)
        finally:
            signal.alarm(0)
            h.finish()
    print(f"{len(passed)} passed, {len(failed)} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
