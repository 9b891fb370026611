"""The worked example runs and draws its picture."""
import os
import subprocess
import sys

import pytest

from conftest import SOURCE_DIR


def test_the_robustness_study_runs_and_draws(tmp_path):
    pytest.importorskip("matplotlib")
    picture = tmp_path / "study.png"
    done = subprocess.run([sys.executable, SOURCE_DIR / "examples" / "python" / "robustness_study.py",
                           "--out", picture, "--steps", "15"],
                          capture_output=True, text=True, check=False, env=os.environ)
    assert done.returncode == 0, done.stderr
    assert picture.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"
    counts = [line.split("\t")[1] for line in done.stdout.splitlines()[1:-1]]
    assert len(counts) == 15
    # The three actions with two categories get one when the cost weight is
    # pinned at 0.5; beyond it the information is inconsistent, to the end.
    consistent = [int(c) for c in counts if c != "inconsistent"]
    assert consistent == [7] * 10 + [10]
    assert counts[len(consistent):] == ["inconsistent"] * 4
