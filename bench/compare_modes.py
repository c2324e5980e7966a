#!/usr/bin/env python3
"""Compare the complex functions of a portable-mode build with those of a
platform-mode build, operation by operation, against the target (portable at
most 1.3 times platform).

    bench/compare_modes.py PLATFORM.json PORTABLE.json [--update docs/PERFORMANCE.md]

The two JSON files are saved by bench/run.sh --save-json from two builds
(see docs/PERFORMANCE.md, "Complex functions, portable mode against platform
mode"). Two columns of ratios:
  lib ns         the library's ns per operation in each run (median over the
                 repetitions), portable over platform;
  via std call   the same ratio with each run's library time taken relative
                 to std::complex's call measured in the same iterations
                 (lib/std_call), portable over platform. std::complex calls
                 glibc's real functions in both builds, so this cancels a
                 change of the shared machine's speed between the two runs.
The target is judged on the second. With --update the block between
<!-- mode-compare:begin --> and <!-- mode-compare:end --> in the given file is
replaced; nothing else changes. Only the Python standard library is used.
"""

import argparse
import json
import os
import platform as host
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from report import OPERATIONS, SETS, replace_block  # noqa: E402  (the table order and labels)

TARGET = 1.3
BEGIN, END = "<!-- mode-compare:begin -->", "<!-- mode-compare:end -->"


def load(path):
    return json.load(open(path))


def medians(data):
    runs = {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration" or "lib_ns" not in b:
            continue
        slot = runs.setdefault(b["run_name"].replace("/real_time", ""), {})
        for key in ("lib_ns", "lib/std_call"):
            if key in b:
                slot.setdefault(key, []).append(b[key])
    return {name: {k: statistics.median(v) for k, v in slot.items()} for name, slot in runs.items()}


def ratio(a, b):
    return a / b if a is not None and b else None


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("platform")
    ap.add_argument("portable")
    ap.add_argument("--update")
    args = ap.parse_args()
    platform_data, portable_data = load(args.platform), load(args.portable)
    platform, portable = medians(platform_data), medians(portable_data)
    ctx = platform_data.get("context", {})
    reps = max((sum(1 for b in platform_data["benchmarks"] if b.get("run_name") == n and b.get("run_type") == "iteration")
                for n in {b.get("run_name") for b in platform_data["benchmarks"]}), default=0)
    libc, libc_version = host.libc_ver()
    lines = ["Measured on %s (%s CPUs), %s %s; %d repetitions per run, median of each." % (
                 host.machine(), ctx.get("num_cpus", "?"), libc or "C library", libc_version, reps),
             "",
             "| operation | operands | platform ns | portable ns | portable / platform: lib ns "
             "| via std call | target %.1f |" % TARGET,
             "|---|---|---:|---:|---:|---:|---|"]
    for op, label in OPERATIONS:
        for input_set, _ in SETS:
            name = "%s/%s" % (op, input_set)
            p, q = platform.get(name), portable.get(name)
            if p is None or q is None:
                continue
            raw = ratio(q["lib_ns"], p["lib_ns"])
            via = ratio(q.get("lib/std_call"), p.get("lib/std_call"))
            judged = via if via is not None else raw
            lines.append("| %s | %s | %.1f | %.1f | %.2f | %s | %s |" % (
                label, input_set, p["lib_ns"], q["lib_ns"], raw, "—" if via is None else "%.2f" % via,
                "met" if judged <= TARGET else "**missed**"))
    table = "\n".join(lines) + "\n"
    if args.update:
        replace_block(args.update, BEGIN, END, table)
    sys.stdout.write(table)


if __name__ == "__main__":
    main()
