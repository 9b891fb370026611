#!/usr/bin/env python3
"""Same pivots, same results: records what the engine gives on a set of
instances and compares a later build against that record.

    scripts/compare-results.py record OUT.tsv    [options]
    scripts/compare-results.py compare BASE.tsv  [options]

For every MPS file of the instance folder it keeps the status, the objective
as printed (the exact text), the iteration count and the node count of
`vesk-cli lp --json`; for every problem file of the examples folder the whole
output and the exit code of `vesk-cli robust|suggest|volume --json` (volume
with a fixed seed), with the defaults, with --no-veto and with --uj.

`compare` prints one table row per instance and exits with 1 when anything
differs from the record (an instance added or missing counts as a
difference), 0 when everything is identical. Record from the code before a
change, compare after it.

Options:
  --lp DIR          MPS instances (default ../shared/data/lp beside the project)
  --examples DIR    problem files (default ../shared/examples); "" skips them
  --cli PATH        the command line program (default build/vesk-cli)
  --lp-arg ARG      an extra argument for every `lp` run (repeatable), e.g.
                    --lp-arg=--param --lp-arg=MAXTIME=60
  --timeout SEC     stop a command after SEC seconds (recorded as TIMEOUT)
  --jobs N          commands run at once (default 1)
"""
import argparse
import concurrent.futures
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
VOLUME_SEED = "20240613"
EXAMPLE_FLAG_SETS = [[], ["--no-veto"], ["--uj"]]


def run(cmd, timeout):
    """Exit code and standard output of one command; None when it timed out."""
    try:
        p = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout,
                           text=True)
    except subprocess.TimeoutExpired:
        return None
    return p.returncode, p.stdout


def lp_job(cli, path, extra, timeout):
    name = os.path.splitext(os.path.basename(path))[0]
    out = run([cli, "lp", path, "--json", *extra], timeout)
    if out is None:
        return ("lp", name, {"status": "TIMEOUT", "objective": "-", "iterations": "-", "nodes": "-"})
    code, text = out
    try:
        # The objective is kept as the text the program printed, not re-read.
        obj = json.loads(text, parse_float=str, parse_int=str)
    except ValueError:
        return ("lp", name, {"status": f"EXIT {code}, NO JSON", "objective": "-", "iterations": "-",
                             "nodes": "-"})
    return ("lp", name, {"status": obj.get("status", "-"), "objective": obj.get("objective", "-"),
                         "iterations": obj.get("iterations", "-"), "nodes": obj.get("nodes", "-")})


def example_job(cli, command, path, flags, timeout):
    name = os.path.splitext(os.path.basename(path))[0] + "".join(" " + f for f in flags)
    cmd = [cli, command, path, "--json", *flags]
    if command == "volume":
        cmd += ["--seed", VOLUME_SEED]
    out = run(cmd, timeout)
    if out is None:
        return (command, name, {"exit": "TIMEOUT", "output": ""})
    code, text = out
    try:  # one line, keys sorted, numbers exactly as printed
        text = json.dumps(json.loads(text, parse_float=str, parse_int=str), sort_keys=True,
                          separators=(",", ":"))
    except ValueError:
        text = " ".join(text.split())
    return (command, name, {"exit": str(code), "output": text})


def collect(args):
    jobs = []
    if args.lp:
        if not os.path.isdir(args.lp):
            sys.exit(f"compare-results: no instance folder {args.lp}")
        for f in sorted(os.listdir(args.lp)):
            if f.lower().endswith(".mps"):
                jobs.append((lp_job, (args.cli, os.path.join(args.lp, f), args.lp_arg, args.timeout)))
    if args.examples:
        if not os.path.isdir(args.examples):
            sys.exit(f"compare-results: no examples folder {args.examples}")
        for f in sorted(os.listdir(args.examples)):
            if f.endswith(".tri"):
                for command in ("robust", "suggest", "volume"):
                    for flags in EXAMPLE_FLAG_SETS:
                        jobs.append((example_job, (args.cli, command, os.path.join(args.examples, f),
                                                   flags, args.timeout)))
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        futures = [pool.submit(fn, *a) for fn, a in jobs]
        return [f.result() for f in futures]


LP_FIELDS = ["status", "objective", "iterations", "nodes"]
EXAMPLE_FIELDS = ["exit", "output"]


def write_record(results, path):
    tmp = path + ".tmp"
    with open(tmp, "w") as out:
        for kind, name, fields in results:
            keys = LP_FIELDS if kind == "lp" else EXAMPLE_FIELDS
            out.write("\t".join([kind, name] + [str(fields[k]) for k in keys]) + "\n")
    os.replace(tmp, path)


def read_record(path):
    record = {}
    with open(path) as f:
        for line in f:
            parts = line.rstrip("\n").split("\t")
            kind, name = parts[0], parts[1]
            keys = LP_FIELDS if kind == "lp" else EXAMPLE_FIELDS
            record[(kind, name)] = dict(zip(keys, parts[2:]))
    return record


def table(rows):
    widths = [max(len(r[c]) for r in rows) for c in range(len(rows[0]))]
    for r in rows:
        print("  ".join(cell.ljust(w) for cell, w in zip(r, widths)).rstrip())


def first_difference(a, b):
    """A short account of where two one-line JSON texts part."""
    try:
        ja, jb = json.loads(a), json.loads(b)
    except ValueError:
        return "output differs"
    if isinstance(ja, dict) and isinstance(jb, dict):
        keys = sorted(set(ja) | set(jb))
        diff = [k for k in keys if ja.get(k) != jb.get(k)]
        return "differs in " + ", ".join(diff)
    return "output differs"


def compare(results, base):
    now = {(kind, name): fields for kind, name, fields in results}
    differences = 0
    lp_rows = [["instance", "status", "objective", "iterations", "nodes", "result"]]
    ex_rows = [["command", "problem", "exit", "result"]]
    for key in sorted(set(now) | set(base), key=lambda k: (k[0] != "lp", k[0], k[1])):
        kind, name = key
        a, b = base.get(key), now.get(key)
        if a is None or b is None:
            differences += 1
            verdict = "NEW (not in the record)" if a is None else "MISSING (only in the record)"
            cur = b or a
        else:
            cur = b
            changed = [k for k in (LP_FIELDS if kind == "lp" else EXAMPLE_FIELDS) if a.get(k) != b.get(k)]
            if changed:
                differences += 1
                if kind == "lp":
                    verdict = "DIFF: " + ", ".join(f"{k} was {a.get(k)}" for k in changed)
                elif "output" in changed:
                    verdict = "DIFF: " + first_difference(a["output"], b["output"])
                else:
                    verdict = f"DIFF: exit was {a.get('exit')}"
            else:
                verdict = "same"
        if kind == "lp":
            lp_rows.append([name] + [str(cur.get(k, "-")) for k in LP_FIELDS] + [verdict])
        else:
            ex_rows.append([kind, name, str(cur.get("exit", "-")), verdict])
    if len(lp_rows) > 1:
        table(lp_rows)
    if len(ex_rows) > 1:
        if len(lp_rows) > 1:
            print()
        table(ex_rows)
    total = len(set(now) | set(base))
    print()
    if differences:
        print(f"{differences} of {total} results differ from the record")
    else:
        print(f"all {total} results identical to the record")
    return 1 if differences else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0],
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("mode", choices=["record", "compare"])
    parser.add_argument("file", help="the record to write (record) or to compare with (compare)")
    parser.add_argument("--lp", default=os.path.join(ROOT, "..", "shared", "data", "lp"))
    parser.add_argument("--examples", default=os.path.join(ROOT, "..", "shared", "examples"))
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "vesk-cli"))
    parser.add_argument("--lp-arg", action="append", default=[])
    parser.add_argument("--timeout", type=float, default=None)
    parser.add_argument("--jobs", type=int, default=1)
    args = parser.parse_args()
    if not os.access(args.cli, os.X_OK):
        sys.exit(f"compare-results: {args.cli} is not built")
    if args.mode == "compare":
        base = read_record(args.file)  # read first: a missing record is an error before any run
        sys.exit(compare(collect(args), base))
    results = collect(args)
    write_record(results, args.file)
    print(f"recorded {len(results)} results in {args.file}")


if __name__ == "__main__":
    main()
