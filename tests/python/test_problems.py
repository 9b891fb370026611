"""Problems in Python: files read and written as the program reads and writes
them, problems built from arrays, the tables changed through the properties,
and the refusals that leave a problem as it was."""
import pathlib

import numpy as np
import pytest

import vesk

# examples/sample.tri as Python data.
NAMES = ["Alder Supply", "Birch & Co", "Cedar Parts", "Dogwood Ltd", "Elm Works", "Fir Trading", "Ginkgo Inc",
         "Hazel Metals", "Iris Components", "Juniper Group"]
PERFORMANCES = np.array([[40, 80, 7, 85], [75, 35, 25, 30], [55, 60, 12, 65], [30, 50, 15, 60], [65, 70, 9, 75],
                         [50, 45, 22, 50], [85, 90, 5, 90], [42, 68, 11, 72], [60, 55, 18, 55], [35, 75, 8, 80]])
PROFILES = [[70, 40, 20, 40], [45, 65, 10, 70]]
THRESHOLDS = {"q": [2, 3, 1, 3], "p": [5, 8, 3, 8], "v": [25, 30, 12, 30]}  # the same for both profiles
EXAMPLES = {"Alder Supply": (3, 3), "Birch & Co": (1, 1), "Cedar Parts": (2, 2), "Hazel Metals": (2, 3)}


def build_sample():
    problem = vesk.Problem.from_arrays(PERFORMANCES, PROFILES, thresholds=THRESHOLDS, directions=[-1, 1, -1, 1],
                                       names=NAMES, criteria=["cost", "quality", "delivery", "reliability"])
    for name, example in EXAMPLES.items():
        problem.examples[name] = example
    problem.add_constraint({"cost": -1, "quality": 1}, ">=", 0)
    return problem


def test_a_problem_built_from_arrays_is_the_problem_read_from_its_file(sample_file, tmp_path):
    built = build_sample()
    read = vesk.Problem.read(sample_file)
    assert built == read
    written = pathlib.Path(built.write(tmp_path / "sample.tri"))
    assert written.read_bytes() == sample_file.read_bytes()

    # What the file holds comes back through the properties.
    assert read.names == NAMES
    np.testing.assert_array_equal(read.performances, PERFORMANCES)
    np.testing.assert_array_equal(read.thresholds["u"], np.zeros((2, 4)))
    np.testing.assert_array_equal(read.thresholds["v"], [[25, 30, 12, 30]] * 2)
    assert list(read.directions) == [-1, 1, -1, 1]
    assert read.examples["Hazel Metals"] == (2, 3) and read.examples[-1] == (1, 3)
    assert read.bounds["lambda"] == (0.5, 1) and read.bounds["k2"] == read.bounds["quality"] == (0, 0.5)
    assert read.constraints == [{"label": "ad1", "sign": ">=", "rhs": 0.0, "coefficients": {
        "lambda": 0.0, "cost": -1.0, "quality": 1.0, "delivery": 0.0, "reliability": 0.0}}]

    built.performances = PERFORMANCES + 1
    assert built != read


def test_every_change_is_written_and_read_back(tmp_path):
    problem = vesk.Problem.new(criteria=3, actions=4, categories=3)
    problem.performances = np.arange(12).reshape(4, 3) / 4
    problem.profiles = [[1, 1, 1], [2, 2, 2]]
    problem.thresholds = {"q": 0.125, "p": [[0.5, 0.5, 0.5], [1, 1, 1]], "u": 0.75, "v": 3}
    problem.directions = [1, -1, 1]
    problem.names = ["a", "b", "c", "d"]
    problem.criteria = ["x", "y", "z"]
    problem.examples[1] = (2, 3)
    problem.bounds["y"] = (0.1, 0.7)
    problem.add_constraint({"lambda": 0.5, "k3": -2}, "<=", 0.25)
    back = vesk.Problem.read(problem.write(tmp_path / "changed"))  # ".tri" appended, as Save Data does
    assert back == problem
    assert back.thresholds["u"][1, 2] == 0.75 and back.bounds["k2"] == (0.1, 0.7)


def test_constraints_are_added_and_removed_as_the_window_does():
    problem = vesk.Problem.new(criteria=2, actions=2, categories=2)
    assert problem.add_constraint({"k1": 1, "k2": -1}, "<=", 0) == "ad1"
    # A negative right-hand side is stored as the file stores it: turned round.
    assert problem.add_constraint({1: 1}, ">=", -0.5) == "ad2"
    assert problem.add_constraint({"k2": 1}, "=", 0.25) == "ad3"
    rows = [(c["label"], c["coefficients"]["g1"], c["sign"], c["rhs"]) for c in problem.constraints]
    assert rows == [("ad1", 1, "<=", 0), ("ad2", -1, "<=", 0.5), ("ad3", 0, "=", 0.25)]
    problem.remove_constraint("ad1")
    problem.remove_constraint(-1)
    # The labels stay in place, the rows move up.
    assert [(c["label"], c["rhs"]) for c in problem.constraints] == [("ad1", 0.5)]


@pytest.mark.parametrize("change, error", [
    (lambda p: setattr(p, "performances", np.zeros((10, 3))), ValueError),
    (lambda p: setattr(p, "performances", np.full((10, 4), np.nan)), ValueError),
    (lambda p: setattr(p, "profiles", [[1, 2, 3, 4]]), ValueError),
    (lambda p: setattr(p, "thresholds", {"w": 1}), KeyError),
    (lambda p: setattr(p, "directions", [1, 0, 1, 1]), ValueError),
    (lambda p: setattr(p, "names", ["one"] * 9), ValueError),
    (lambda p: setattr(p, "criteria", ["a", "b\nc", "d", "e"]), ValueError),
    (lambda p: p.examples.__setitem__("Birch & Co", (2, 4)), ValueError),
    (lambda p: p.examples.__setitem__("Birch & Co", (3, 2)), ValueError),
    (lambda p: p.examples.__setitem__("nobody", (1, 1)), KeyError),
    (lambda p: p.examples.__setitem__(10, (1, 1)), IndexError),
    (lambda p: p.bounds.__setitem__("cost", (0.6, 0.4)), ValueError),
    (lambda p: p.bounds.__setitem__("lambda", (0.5, 1.5)), ValueError),
    (lambda p: p.bounds.__setitem__("k5", (0, 1)), KeyError),
    (lambda p: p.add_constraint({"k1": 1}, "<>", 0), ValueError),
    (lambda p: p.add_constraint({"price": 1}, "<=", 0), KeyError),
    (lambda p: p.add_constraint({"k1": float("inf")}, "<=", 0), ValueError),
    (lambda p: p.remove_constraint("ad7"), KeyError),
    (lambda p: p.solution("Elm Works", 1), vesk.ProblemError),
])
def test_refused_changes_leave_the_problem_as_it_was(sample_file, change, error):
    problem = vesk.Problem.read(sample_file)
    problem.robust()
    before = problem.copy()
    with pytest.raises(error):
        change(problem)
    assert problem == before
    assert problem.has_results


def test_results_are_snapshots_and_a_change_makes_them_stale(sample_file):
    problem = vesk.Problem.read(sample_file)
    result = problem.robust()
    assert problem.has_results and (result.worst[4], result.best[4]) == (2, 3)  # Elm Works
    problem.examples["Elm Works"] = (3, 3)
    assert not problem.has_results
    assert result.worst[4] == 2
    assert problem.robust().worst[4] == 3


def test_the_threshold_switches(sample_file):
    problem = vesk.Problem.read(sample_file)
    problem.robust()
    problem.use_discordance = True
    assert problem.use_veto and problem.use_discordance and not problem.has_results
    problem.use_veto = False
    assert not problem.use_discordance
    with pytest.raises(ValueError):
        problem.use_discordance = True


def cli_error(cli, path):
    code, _, err = cli("check", path)
    assert code == 1
    return [line[len("error: "):] for line in err.splitlines() if line.startswith("error: ")][-1]


@pytest.mark.parametrize("name, text", [
    ("missing.tri", None),
    ("truncated.tri", "c version 2\r\nt 2\t2\t3\r\nd\t1\t1\r\np 1\t5\t5\r\n"),
    ("letters.tri", "c version 2\r\nt 2\t2\t1\r\nd\t1\t1\r\np 1\t5\t5\r\ns 1\t1\t0\t1\t0\t0\r\n"
                    "s 1\t2\t0\t1\t0\t0\r\na 0\t4\tfour\t1\t2\tx\r\n"),
    ("criteria.tri", "t 20\t2\t2\r\n"),
    ("example.tri", "c version 2\r\nt 1\t2\t1\r\nd\t1\r\np 1\t5\r\ns 1\t1\t0\t1\t0\t0\r\na 0\t4\t1\t3\tx\r\n"),
])
def test_a_bad_file_raises_the_readers_message(tmp_path, cli, name, text):
    path = tmp_path / name
    if text is not None:
        path.write_bytes(text.encode())
    message = cli_error(cli, path)
    with pytest.raises(vesk.ProblemError) as raised:
        vesk.Problem.read(path)
    assert str(raised.value) == message
    assert raised.value.messages[-1] == {"kind": "error", "text": message}


def test_a_failed_write_says_so_and_keeps_what_was_there(sample_file, tmp_path):
    problem = vesk.Problem.read(sample_file)
    with pytest.raises(vesk.ProblemError, match="Disk write error"):
        problem.write(tmp_path / "no such folder" / "x.tri")
    taken = tmp_path / "taken.tri"  # a folder: the new file cannot be renamed over it
    taken.mkdir()
    (taken / "inside").write_text("kept")
    with pytest.raises(vesk.ProblemError, match="Disk write error"):
        problem.write(taken)
    assert (taken / "inside").read_text() == "kept"
    assert sorted(p.name for p in tmp_path.iterdir()) == ["taken.tri"]


def test_new_keeps_the_limits_of_the_new_dialog():
    problem = vesk.Problem.new(criteria=3, actions=5, categories=4)
    assert (problem.n_criteria, problem.n_actions, problem.n_categories) == (3, 5, 4)
    assert problem.names == ["0", "1", "2", "3", "4"] and problem.examples[0] == (1, 4)
    with pytest.raises(vesk.ProblemError, match="Number is too high"):
        vesk.Problem.new(criteria=13, actions=5, categories=4)
    with pytest.raises(vesk.ProblemError, match="Number is too low"):
        vesk.Problem.new(criteria=3, actions=1, categories=4)
