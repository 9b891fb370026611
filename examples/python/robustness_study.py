"""A robustness study of the sample problem.

Lets one weight take any share (upper bound 1), raises its lower bound step by
step, computes the robust assignments at each step and counts the actions
whose range is a single category; prints the table and plots it into a PNG.

    PYTHONPATH=build/python python3 examples/python/robustness_study.py [--out study.png]
"""
import argparse
import pathlib
import warnings

import matplotlib

matplotlib.use("Agg")  # no display needed
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import vesk  # noqa: E402

SAMPLE = pathlib.Path(__file__).resolve().parent.parent / "sample.tri"


def single_category_counts(problem, weight, lows):
    """Per lower bound of `weight`: the number of actions whose range is one
    category, or None where the information becomes inconsistent."""
    counts = []
    for low in lows:
        variant = problem.copy()
        variant.bounds[weight] = (low, 1.0)
        result = variant.robust()
        counts.append(int((result.best == result.worst).sum()) if result.consistent else None)
    return counts


def plot(lows, counts, weight, problem, path):
    figure, axes = plt.subplots(figsize=(6.4, 3.6))
    shown = np.array([np.nan if c is None else c for c in counts], dtype=float)
    axes.step(lows, shown, where="post", color="tab:green", linewidth=2)
    axes.plot(lows, shown, "o", color="tab:green", markersize=4, label="actions with a single category")
    inconsistent = [low for low, c in zip(lows, counts) if c is None]
    if inconsistent:
        axes.axvspan(min(inconsistent), max(lows), color="0.85", label="inconsistent information")
    axes.set_xlim(min(lows), max(lows))
    axes.set_ylim(0, problem.n_actions + 0.5)
    axes.set_xlabel(f"lower bound of the weight of {weight} (upper bound 1)")
    axes.set_ylabel(f"actions (of {problem.n_actions})")
    axes.set_title("sample.tri: robust assignments as one weight's bound rises")
    axes.grid(alpha=0.3)
    axes.legend(loc="lower left")
    figure.tight_layout()
    figure.savefig(path, dpi=80)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--problem", default=SAMPLE, type=pathlib.Path, help="problem file (default: sample.tri)")
    parser.add_argument("--weight", default="cost", help="the weight whose lower bound rises (default: cost)")
    parser.add_argument("--to", default=0.7, type=float, help="the last lower bound (default: 0.7)")
    parser.add_argument("--steps", default=29, type=int, help="points of the grid (default: 29)")
    parser.add_argument("--out", default="robustness_study.png", type=pathlib.Path, help="the picture to write")
    args = parser.parse_args()

    problem = vesk.Problem.read(args.problem)
    lows = np.round(np.linspace(0, args.to, args.steps), 6)
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", vesk.ProblemWarning)  # inconsistent steps are expected
        counts = single_category_counts(problem, args.weight, lows)

    print(f"lower bound of {args.weight}\tactions with a single category (of {problem.n_actions})")
    for low, count in zip(lows, counts):
        print(f"{low:.3f}\t{'inconsistent' if count is None else count}")
    plot(lows, counts, args.weight, problem, args.out)
    print(f"picture: {args.out}")


if __name__ == "__main__":
    main()
