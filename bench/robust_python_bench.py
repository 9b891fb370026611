"""Robust assignments from Python against the command line.

Times N calls of vesk.Problem.robust() on examples/sample.tri in one Python
process against N `vesk-cli robust --json` processes on the same file, wall
and processor time (a process's includes starting it). The two run in turn,
in blocks of 50, so that a drift of the machine's speed touches both; the wall
ratio is taken call by call (call i against process i).

    python3 bench/robust_python_bench.py [--calls 1000] [--cli build/vesk-cli]

Needs the built module (build/python is used when `import vesk` does not
find one) and the built vesk-cli. Never run by the tests.
"""
import argparse
import json
import pathlib
import resource
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


def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--calls", type=int, default=1000)
    parser.add_argument("--cli", type=pathlib.Path, default=ROOT / "build" / "vesk-cli")
    parser.add_argument("--problem", type=pathlib.Path, default=ROOT / "examples" / "sample.tri")
    args = parser.parse_args()

    problem = vesk.Problem.read(args.problem)
    command = [str(args.cli), "robust", str(args.problem), "--json"]
    expected = problem.robust().to_dict()
    module, process = [], []          # wall seconds per call
    module_cpu, process_cpu = [], []  # processor seconds: this process's, plus the child's for a process
    block = 50  # calls in a row: a process started between two calls would empty the caches the module works in
    for first in range(0, args.calls, block):
        calls = range(first, min(first + block, args.calls))
        for _ in calls:
            start, cpu = time.perf_counter(), time.process_time()
            problem.robust()
            module.append(time.perf_counter() - start)
            module_cpu.append(time.process_time() - cpu)
        for _ in calls:
            start, cpu, child = time.perf_counter(), time.process_time(), children_cpu()
            subprocess.run(command, capture_output=True, check=True)
            process.append(time.perf_counter() - start)
            process_cpu.append(time.process_time() - cpu + children_cpu() - child)
    # The process answers what the module answers.
    answer = json.loads(subprocess.run(command, capture_output=True, check=True).stdout)
    assert answer["worst"] == expected["worst"] and answer["best"] == expected["best"]

    print(f"robust assignments of {args.problem.name}, {args.calls} calls each, in turn")
    print(f"{'':26s}{'wall total s':>13s}{'wall median ms':>16s}{'cpu median ms':>15s}")
    for name, wall, cpu in (("vesk.Problem.robust()", module, module_cpu),
                            ("vesk-cli robust --json", process, process_cpu)):
        print(f"{name:26s}{sum(wall):13.3f}{statistics.median(wall) * 1e3:16.3f}{statistics.median(cpu) * 1e3:15.3f}")
    wall_ratio = statistics.median(p / m for m, p in zip(module, process))  # call i with process i
    cpu_ratio = statistics.median(process_cpu) / statistics.median(module_cpu)
    print(f"process / module per call: wall {wall_ratio:.1f}x (median of the paired ratios), "
          f"cpu {cpu_ratio:.1f}x (ratio of the medians); target at least 20x")

if __name__ == "__main__":
    main()
