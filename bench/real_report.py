#!/usr/bin/env python3
"""Run zu_real_bench and print the real-function table of docs/PERFORMANCE.md.

    bench/real_report.py [--build build/bench] [--repetitions 5] [--min-time 0.2]
                         [--update docs/PERFORMANCE.md]

For every function and argument set: the median over the repetitions of the
portable and the platform function's ns per call and of their ratio (each
ratio formed within one iteration, see bench/real_bench.cpp), checked
against the target (portable at most 1.5 times the platform's). With
--update the block between <!-- real-bench:begin --> and
<!-- real-bench:end --> in the given file is replaced; nothing else changes.
Only the Python standard library is used.
"""

import argparse
import json
import os
import platform
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from report import replace_block  # noqa: E402

BEGIN, END = "<!-- real-bench:begin -->", "<!-- real-bench:end -->"
TARGET = 1.5


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build/bench")
    ap.add_argument("--repetitions", type=int, default=5)
    ap.add_argument("--min-time", default="0.2")
    ap.add_argument("--update")
    args = ap.parse_args()
    exe = os.path.join(args.build, "bench", "zu_real_bench")
    out = subprocess.run([exe, "--benchmark_format=json", "--benchmark_repetitions=%d" % args.repetitions,
                          "--benchmark_min_time=%s" % args.min_time, "--benchmark_report_aggregates_only=false"],
                         check=True, capture_output=True, text=True).stdout
    data = json.loads(out)
    rows = {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        r = rows.setdefault(b["run_name"].replace("/real_time", ""), {"p": [], "q": [], "r": []})
        r["p"].append(b["portable_ns"])
        r["q"].append(b["platform_ns"])
        r["r"].append(b["portable/platform"])
    ctx = data["context"]
    lines = ["Measured on %s (%s CPUs), glibc's functions as the platform's; %d repetitions, median of each."
             % (platform.processor() or platform.machine(), ctx.get("num_cpus", "?"), args.repetitions),
             "", "| function | arguments | portable ns | glibc ns | portable / glibc | target 1.5 |",
             "|---|---|---:|---:|---:|---|"]
    for name, r in rows.items():
        fn, _, arg = name.partition("/")
        ratio = statistics.median(r["r"])
        lines.append("| `%s` | %s | %.1f | %.1f | %.2f | %s |" % (
            fn, arg, statistics.median(r["p"]), statistics.median(r["q"]), ratio,
            "met" if ratio <= TARGET else "**missed**"))
    table = "\n".join(lines) + "\n"
    if args.update:
        replace_block(args.update, BEGIN, END, table)
    sys.stdout.write(table)


if __name__ == "__main__":
    main()
