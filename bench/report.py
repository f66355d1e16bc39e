#!/usr/bin/env python3
"""Prints one table per benchmark case from the results folder of scripts/bench.

Rows are named CASE/IMPL (Google Benchmark names may carry arguments after that, which stay part
of the case). Each row is compared with the row "ours" of the same kind (in-process or whole
process); where ours exists only in the other kind, that one is used and the ratio is marked *.
The ratio is our time divided by the row's time: above 1 we are slower."""
import json
import sys
from collections import defaultdict
from pathlib import Path

IN_PROCESS, PROCESS = "in-process", "process"
SCALE = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def split(name):
    parts = name.split("/")
    if len(parts) < 2:
        return name, "ours"
    return "/".join([parts[0]] + parts[2:]), parts[1]


def load(folder):
    cases = defaultdict(dict)  # case -> (kind, impl) -> seconds
    for path in sorted(Path(folder).glob("*.json")):
        text = path.read_text()
        if not text.strip():  # a program whose benchmarks the filter left out writes nothing
            continue
        data = json.loads(text)
        for run in data.get("benchmarks", []):
            if run.get("run_type", "iteration") != "iteration" or "error_occurred" in run:
                continue
            case, impl = split(run["name"])
            cases[case][(IN_PROCESS, impl)] = run["real_time"] * SCALE[run["time_unit"]]
        for run in data.get("results", []):
            case, impl = split(run["command"])
            cases[case][(PROCESS, impl)] = run["mean"]
    return cases


def shown(seconds):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= scale:
            return f"{seconds / scale:9.3f} {unit}"
    return f"{seconds / 1e-9:9.1f} ns"


def main():
    cases = load(sys.argv[1])
    if not cases:
        sys.exit("bench: no results")
    for case in sorted(cases):
        rows = cases[case]
        print(f"\n{case}")
        print(f"  {'impl':<16} {'kind':<11} {'time':>12}   ours/this")
        for (kind, impl), seconds in sorted(rows.items(), key=lambda row: (row[0][1] != "ours", row[0])):
            other = PROCESS if kind == IN_PROCESS else IN_PROCESS
            ours, mark = rows.get((kind, "ours")), ""
            if ours is None and (other, "ours") in rows:
                ours, mark = rows[(other, "ours")], "*"
            ratio = f"{ours / seconds:8.2f}{mark}" if ours is not None and impl != "ours" else ""
            print(f"  {impl:<16} {kind:<11} {shown(seconds)}   {ratio}")
    print("\n* ours measured in the other kind (in-process against whole-process or the reverse)")


if __name__ == "__main__":
    main()
