"""vesk.lp: the shared MPS instances solved to their reference optima, a model
stated from Python, the engine's verdicts and refusals, and Ctrl+C during a
branch-and-bound search."""
import csv
import os
import pathlib
import time

import numpy as np
import pytest

import vesk
from conftest import SHARED_DIR, run_interrupted

LP_DIR = pathlib.Path(os.environ.get("VESK_LP_DATA") or SHARED_DIR / "data" / "lp")


def reference_optima():
    table = LP_DIR / "reference.tsv"
    if not table.is_file():
        return [pytest.param(None, None, None, marks=pytest.mark.skip(reason="LP/MIP instances not found"))]
    with table.open() as rows:
        return [pytest.param(r["name"], r["kind"], float(r["objective"]), id=r["name"])
                for r in csv.DictReader(rows, delimiter="\t")]


@pytest.mark.parametrize("name, kind, optimum", reference_optima())
def test_every_shared_instance_reaches_its_reference_optimum(name, kind, optimum):
    result = vesk.lp.solve_mps(LP_DIR / f"{name}.mps")
    assert result.finished and result.proven, result.status
    assert result.integer == (kind == "mip")
    assert result.objective == pytest.approx(optimum, rel=1e-6, abs=1e-9)
    assert len(result.values) == len(result.columns)


@pytest.mark.parametrize("name", ["afiro", "p0033"])
def test_a_solve_says_what_the_command_line_says(lp_dir, cli, name):
    code, expected, _ = cli("lp", lp_dir / f"{name}.mps", "--json", "--solution")
    assert code == 0
    got = vesk.lp.solve_mps(lp_dir / f"{name}.mps").to_dict()
    del got["seconds"], expected["seconds"]
    assert got.keys() == expected.keys()
    assert got["columns"] == pytest.approx(expected["columns"], rel=1e-12, abs=1e-12)
    del got["columns"], expected["columns"]
    assert got == pytest.approx(expected)


def test_a_model_stated_from_python():
    model = vesk.lp.Model(maximize=True)
    x = model.add_column("x", cost=3, upper=4)
    model.add_column("y", cost=2, upper=10, integer=True)
    model.add_row({x: 1, "y": 1}, "<=", 5.5)
    model.add_row([(x, 1), ("y", -1)], ">=", -2)
    result = model.solve()
    assert result.proven and result.integer
    assert result.objective == pytest.approx(14.5)  # x = 3.5, y = 2
    assert result.columns == ["x", "y"]
    np.testing.assert_allclose(result.values, [3.5, 2], atol=1e-9)

    model.maximize = False  # min 3x + 2y with x, y >= 0: the origin
    assert model.solve().objective == 0


@pytest.mark.parametrize("rows, verdict", [
    ([({"x": 1}, ">=", 2), ({"x": 1}, "<=", 1)], "INFEASIBLE"),
    ([({"x": 1, "y": -1}, "<=", 1)], "UNBOUNDED"),
])
def test_the_engine_tells_its_verdict(rows, verdict):
    model = vesk.lp.Model(maximize=True)
    model.add_column("x", cost=1)
    model.add_column("y", cost=0)
    for row in rows:
        model.add_row(*row)
    result = model.solve()
    assert result.finished and not result.proven
    assert verdict in result.status.upper()
    assert result.objective is None and result.values is None


def test_refusals(tmp_path):
    model = vesk.lp.Model()
    model.add_column("x")
    with pytest.raises(ValueError):
        model.add_column("z", lower=2, upper=1)
    with pytest.raises(ValueError):
        model.add_column("x")
    with pytest.raises(KeyError):
        model.add_row({"w": 1}, "<=", 1)
    with pytest.raises(ValueError):
        model.add_row({"x": 1}, "<>", 1)
    assert model.n_rows == 0
    with pytest.raises(ValueError, match="NOSUCH"):
        model.solve(params={"NOSUCH": "1"})
    with pytest.raises(vesk.lp.LpError):
        vesk.lp.solve_mps(tmp_path / "missing.mps")
    bad = tmp_path / "bad.mps"
    bad.write_text("NAME X\nROWS\n N OBJ\nCOLUMNS\n    x OBJ one\nENDATA\n")
    with pytest.raises(vesk.lp.LpError, match="line 5"):
        vesk.lp.solve_mps(bad)


def test_ctrl_c_ends_a_search():
    # A market-split problem: zero-one columns, equalities with random
    # coefficients, hard for branch and bound.
    a = np.random.default_rng(3).integers(0, 100, (4, 30))
    model = vesk.lp.Model("SPLIT")
    for _ in range(30):
        model.add_column(upper=1, integer=True)
    for row in a:
        model.add_row(dict(enumerate(row.tolist())), "=", int(row.sum() // 2))
    limit = 120
    started = time.monotonic()
    run_interrupted(lambda: model.solve(params={"MAXTIME": str(limit)}), seconds=0.5)
    assert time.monotonic() - started < limit / 2  # stopped by the interrupt, not by its time limit
    assert model.solve(params={"MAXITER": "50"}).status.startswith("UNFINISHED")
