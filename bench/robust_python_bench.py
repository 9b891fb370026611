"""Robust assignments from Python against the command line.

Times N calls of vesk.Problem.robust() on examples/sample.tri in one Python
process against N `vesk-cli robust --json` processes on the same file; the two
run in turn (call, process, call, ...) so that a drift of the machine's speed
touches both, and the ratio is taken pair by pair.

    python3 bench/robust_python_bench.py [--calls 1000] [--cli build/vesk-cli]

Needs the built module (build/python is used when `import vesk` does not
find one) and the built vesk-cli. Never run by the tests.
"""
import argparse
import json
import pathlib
import statistics
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
try:
    import vesk
except ImportError:
    sys.path.insert(0, str(ROOT / "build" / "python"))
    import vesk


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--calls", type=int, default=1000)
    parser.add_argument("--cli", type=pathlib.Path, default=ROOT / "build" / "vesk-cli")
    parser.add_argument("--problem", type=pathlib.Path, default=ROOT / "examples" / "sample.tri")
    args = parser.parse_args()

    problem = vesk.Problem.read(args.problem)
    command = [str(args.cli), "robust", str(args.problem), "--json"]
    expected = problem.robust().to_dict()
    module, process = [], []
    for _ in range(args.calls):
        start = time.perf_counter()
        problem.robust()
        module.append(time.perf_counter() - start)
        start = time.perf_counter()
        subprocess.run(command, capture_output=True, check=True)
        process.append(time.perf_counter() - start)
    # The process answers what the module answers.
    answer = json.loads(subprocess.run(command, capture_output=True, check=True).stdout)
    assert answer["worst"] == expected["worst"] and answer["best"] == expected["best"]

    ratios = [p / m for m, p in zip(module, process)]
    print(f"robust assignments of {args.problem.name}, {args.calls} calls each, in turn")
    print(f"{'':28s}{'total s':>10s}{'median ms':>12s}{'min ms':>10s}{'max ms':>10s}")
    for name, times in (("vesk.Problem.robust()", module), ("vesk-cli robust --json", process)):
        print(f"{name:28s}{sum(times):10.3f}{statistics.median(times) * 1e3:12.3f}"
              f"{min(times) * 1e3:10.3f}{max(times) * 1e3:10.3f}")
    print(f"per call, process / module: median of the paired ratios {statistics.median(ratios):.1f}x "
          f"(ratio of totals {sum(process) / sum(module):.1f}x; target at least 20x)")


if __name__ == "__main__":
    main()
