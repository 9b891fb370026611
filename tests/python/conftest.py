"""Where the tests find the shared data and the built command line.

The locations come from the environment that ctest sets (VESK_SHARED_DIR,
VESK_CLI, VESK_SOURCE_DIR); VESK_EXAMPLES and VESK_LP_DATA override the
example and LP folders. A test whose data is absent is skipped.
"""
import json
import os
import pathlib
import signal
import subprocess
import threading

import pytest

HERE = pathlib.Path(__file__).resolve().parent
SOURCE_DIR = pathlib.Path(os.environ.get("VESK_SOURCE_DIR", HERE.parent.parent))
SHARED_DIR = pathlib.Path(os.environ.get("VESK_SHARED_DIR", SOURCE_DIR.parent / "shared"))


def _folder(variable, default):
    path = pathlib.Path(os.environ.get(variable) or default)
    return path if path.is_dir() else None


@pytest.fixture(scope="session")
def examples_dir():
    folder = _folder("VESK_EXAMPLES", SHARED_DIR / "examples")
    if folder is None:
        pytest.skip("example problems not found")
    return folder


@pytest.fixture(scope="session")
def lp_dir():
    folder = _folder("VESK_LP_DATA", SHARED_DIR / "data" / "lp")
    if folder is None:
        pytest.skip("LP/MIP instances not found")
    return folder


@pytest.fixture(scope="session")
def sample_file():
    return SOURCE_DIR / "examples" / "sample.tri"


@pytest.fixture(scope="session")
def cli():
    """Runs vesk-cli with the given arguments and returns (exit code, parsed JSON of its output)."""
    program = os.environ.get("VESK_CLI")
    if not program or not os.path.exists(program):
        pytest.skip("vesk-cli not built")

    def run(*arguments):
        done = subprocess.run([program, *map(str, arguments)], capture_output=True, text=True, check=False)
        return done.returncode, json.loads(done.stdout) if done.stdout.strip().startswith("{") else None, done.stderr

    return run


def run_interrupted(run, seconds=0.3, signum=signal.SIGINT):
    """Calls `run` while a timer sends `signum` to this process after `seconds`;
    the call must end with KeyboardInterrupt."""
    timer = threading.Timer(seconds, os.kill, (os.getpid(), signum))
    timer.start()
    try:
        with pytest.raises(KeyboardInterrupt):
            run()
    finally:
        timer.join()
