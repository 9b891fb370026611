"""The commands in-process: the same results as vesk-cli on the example
problems, results as arrays and data frames, the solution of one assignment,
the report, the interpreter lock released during a computation and Ctrl+C
ending one with the problem unchanged."""
import json
import math
import signal
import threading
import time

import numpy as np
import pytest

import vesk
from conftest import run_interrupted

EXAMPLES = ["imprecise_holes", "conflict", "version1", "ordinal", "volume2"]


def assert_same(got, expected, where="result"):
    """Equal structure, equal integers and texts, reals equal to 1e-9."""
    if isinstance(expected, dict):
        assert isinstance(got, dict) and got.keys() == expected.keys(), where
        for key in expected:
            assert_same(got[key], expected[key], f"{where}[{key!r}]")
    elif isinstance(expected, list):
        assert isinstance(got, list) and len(got) == len(expected), where
        for i, (g, e) in enumerate(zip(got, expected)):
            assert_same(g, e, f"{where}[{i}]")
    elif isinstance(expected, float) and not isinstance(got, bool):
        assert math.isclose(got, expected, rel_tol=1e-9, abs_tol=1e-12), f"{where}: {got} != {expected}"
    else:
        assert got == expected and type(got) is type(expected), f"{where}: {got!r} != {expected!r}"


def read_example(examples_dir, name):
    expected = json.loads((examples_dir / f"{name}.expected.json").read_text())
    problem = vesk.Problem.read(examples_dir / f"{name}.tri")
    if "--no-veto" in expected["flags"]:
        problem.use_veto = False
    if "--uj" in expected["flags"]:
        problem.use_discordance = True
    return problem, expected


@pytest.mark.filterwarnings("ignore::vesk.ProblemWarning")
@pytest.mark.parametrize("name", EXAMPLES)
def test_the_commands_give_what_the_command_line_gives(examples_dir, cli, name):
    problem, expected = read_example(examples_dir, name)
    file, flags = examples_dir / f"{name}.tri", expected["flags"]

    code, robust, _ = cli("robust", file, "--json", *flags)
    assert code == 0
    result = problem.copy().robust()
    assert_same(result.to_dict(), robust)
    for key in ("worst", "best", "holes", "variability_order"):
        assert robust[key] == expected["robust"][key]

    seed = expected["volume"]["run"]["seed"]
    code, volume, _ = cli("volume", file, "--seed", seed, "--json", *flags)
    assert code == 0
    assert_same(problem.copy().volume(seed=seed).to_dict(), volume)
    assert volume["hits"] == expected["volume"]["run"]["hits"]

    if "suggest" in expected:
        code, suggest, _ = cli("suggest", file, "--json", *flags)
        assert code == 0
        assert_same(problem.copy().suggest().to_dict(), suggest)


def test_an_inconsistent_problem_warns_and_suggests_what_to_drop(examples_dir):
    problem, _ = read_example(examples_dir, "conflict")
    with pytest.warns(vesk.ProblemWarning, match="Inconsistent information!"):
        result = problem.robust()
    assert not result.consistent and result.worst is None and result.violated_rows == [4, 6, 9]
    suggestions = problem.suggest(max_suggestions=3)
    assert suggestions.end == "no_more_alternatives" and suggestions.new_solution is None
    said = sorted(d for s in suggestions for d in s.descriptions)
    assert said == ["action 6 in C2", "action 8 in C1"]
    assert [s.count for s in suggestions] == [1, 1]
    with pytest.raises(ValueError):
        problem.suggest(max_suggestions=31)


def test_results_come_as_arrays(sample_file):
    result = vesk.Problem.read(sample_file).robust()
    assert result.worst.dtype.kind == "i" and result.worst.shape == (10,)
    assert list(result.parameters) == ["lambda", "cost", "quality", "delivery", "reliability"]
    assert list(result.parameters.values()) == list(result.inferred_params)
    width = result.best - result.worst
    assert list(result.variability_order) == sorted(range(10), key=lambda i: (-width[i], i))
    assert result.index == pytest.approx(np.prod(width + 1.0) ** (1 / 10))


def test_results_as_a_data_frame(sample_file):
    pytest.importorskip("pandas")
    frame = vesk.Problem.read(sample_file).robust().to_dataframe()
    assert frame.index[4] == "Elm Works"
    assert list(frame.loc["Elm Works", ["worst", "inferred", "best"]]) == [2, 3, 3]
    assert frame.loc["Elm Works", "holes"] == []


def test_the_solution_of_one_assignment_is_the_command_lines(sample_file, cli):
    problem = vesk.Problem.read(sample_file)
    vector = problem.solution("Elm Works", 2)
    code, expected, _ = cli("solution", sample_file, "5", "2", "--json")
    assert code == 0
    assert list(vector.values()) == pytest.approx(expected["params"], rel=1e-9, abs=1e-12)
    code, _, err = cli("solution", sample_file, "Elm Works", "1")
    with pytest.raises(vesk.ProblemError) as refused:
        problem.solution(4, 1)
    assert str(refused.value) == "Category 1 is outside the range [2, 3] of action Elm Works"
    assert str(refused.value) in err


def test_the_report_is_the_command_lines(sample_file, cli, tmp_path):
    problem = vesk.Problem.read(sample_file)
    problem.report(tmp_path / "python.rpt")  # the results are computed first
    assert problem.has_results
    code, _, _ = cli("robust", sample_file, "--report", tmp_path / "cli.rpt")
    assert code == 0
    assert (tmp_path / "python.rpt").read_bytes() == (tmp_path / "cli.rpt").read_bytes()
    with pytest.raises(vesk.ProblemError, match="Disk write error"):
        problem.report(tmp_path / "no such folder" / "x.rpt")


def long_problem(actions):
    """A consistent problem whose robust assignments solve a program for most
    actions: 15 criteria with wide preference thresholds, narrow bounds."""
    rng = np.random.default_rng(7)
    criteria, categories = 15, 6
    problem = vesk.Problem.from_arrays(rng.uniform(0, 100, (actions, criteria)),
                                       np.sort(rng.uniform(20, 80, (categories - 1, criteria)), axis=0),
                                       thresholds={"p": 60})
    for key in problem.bounds.keys()[1:]:
        problem.bounds[key] = (0.05, 0.1)
    problem.bounds["lambda"] = (0.6, 0.7)
    return problem


def test_other_threads_run_while_a_computation_runs():
    problem = long_problem(3000)
    finished = threading.Event()
    worker = threading.Thread(target=lambda: (problem.robust(), finished.set()))
    worker.start()
    ticks = 0
    while not finished.is_set():
        ticks += 1
        time.sleep(0.001)
    worker.join()
    assert problem.has_results
    # Holding the lock, the computation would have let this loop run once or twice.
    assert ticks > 20


def test_ctrl_c_ends_a_long_run_and_leaves_the_problem_unchanged(sample_file):
    problem = long_problem(10000)
    before = problem.copy()
    run_interrupted(problem.robust)
    # Had the run gone to its end, its results would belong to the problem.
    assert not problem.has_results
    assert problem == before
    assert vesk.Problem.read(sample_file).robust().consistent


def test_a_computation_started_by_a_signal_handler_meanwhile_is_refused(sample_file):
    # Signal handlers run inside the computation's cancel check; one that
    # started a second computation on the same thread would wait for itself.
    problem = long_problem(10000)
    refused = []

    def handler(signum, frame):
        try:
            vesk.Problem.read(sample_file).robust()
        except RuntimeError as error:
            refused.append(str(error))
        raise KeyboardInterrupt  # and the long run ends here

    previous = signal.signal(signal.SIGUSR1, handler)
    try:
        run_interrupted(problem.robust, signum=signal.SIGUSR1)
    finally:
        signal.signal(signal.SIGUSR1, previous)
    assert refused and "cannot start while this thread runs another one" in refused[0]
    assert not problem.has_results
