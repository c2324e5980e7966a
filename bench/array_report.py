#!/usr/bin/env python3
"""Run zu_array_bench and print the array tables of docs/PERFORMANCE.md.

Runs the benchmark binary once per kernel table asked for (with
ZU_COMPLEX_ARRAY_TARGET set), with repetitions and JSON output, takes for
every benchmark the median over the repetitions of each counter (each ratio
is itself formed within one iteration, see bench/bench_arrays.cpp), checks
the ratios against the project's targets and prints Markdown.

    bench/array_report.py [--build build/bench] [--targets avx512,avx2,sse2]
                          [--repetitions 5] [--min-time 0.2]
                          [--update docs/PERFORMANCE.md]

With --update the block between <!-- array-results:begin --> and
<!-- array-results:end --> in the given file is replaced; nothing else is
touched. Only the Python standard library is used.
"""

import argparse
import json
import os
import platform
import statistics
import subprocess
import sys
import time

BEGIN_MARK = "<!-- array-results:begin -->"
END_MARK = "<!-- array-results:end -->"

OPERATIONS = ["mul", "div", "add", "sub", "scale", "conj", "abs", "norm"]
LABELS = {"mul": "multiply", "div": "divide", "add": "add", "sub": "subtract", "scale": "scale",
          "conj": "conj", "abs": "abs", "norm": "norm"}

# In cache: the least speed-up over the loop of scalar calls. From memory: the
# largest array / floor time. Special mix: the largest special / ordinary time.
CACHE_TARGETS = {"mul": 8.0, "div": 4.0, "abs": 4.0, "add": 6.0, "sub": 6.0, "scale": 6.0, "conj": 6.0,
                 "norm": 6.0}
MEMORY_TARGETS = {"mul": 1.15, "add": 1.15, "div": 1.15}
SPECIAL_TARGET = 2.0


def run(binary, target, repetitions, min_time):
    env = dict(os.environ)
    if target:
        env["ZU_COMPLEX_ARRAY_TARGET"] = target
    command = [binary, f"--benchmark_repetitions={repetitions}", f"--benchmark_min_time={min_time}",
               "--benchmark_format=json"]
    out = subprocess.run(command, env=env, check=True, stdout=subprocess.PIPE, text=True).stdout
    data = json.loads(out)
    rows = {}
    chosen = None
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        chosen = b.get("label", chosen)
        name = b["run_name"].split("/iterations:")[0]
        row = rows.setdefault(name, {"base_ns": [], "array_ns": [], "ratio": []})
        for key in row:
            row[key].append(b[key])
    medians = {name: {k: statistics.median(v) for k, v in row.items()} for name, row in rows.items()}
    spread = {name: (min(row["ratio"]), max(row["ratio"])) for name, row in rows.items()}
    return chosen, medians, spread


def verdict(ok):
    return "yes" if ok else "**no**"


def table(m, spread, kind, title, columns, digits, target_of, better):
    """One Markdown table: a row per operation measured, with its target."""
    lines = ["", title, "", "| operation | " + " | ".join(columns) + " | target | met |",
             "|---|" + "---:|" * len(columns) + "---:|---|"]
    for op in OPERATIONS:
        r = m.get(f"{kind}/{op}")
        if not r:
            continue
        lo, hi = spread[f"{kind}/{op}"]
        t = target_of(op)
        bound = ">=" if better == "higher" else "<="
        met = "-" if t is None else verdict(r["ratio"] >= t if better == "higher" else r["ratio"] <= t)
        lines.append(f"| {LABELS[op]} | {r['base_ns']:.{digits}f} | {r['array_ns']:.{digits}f} | "
                     f"{r['ratio']:.2f} ({lo:.2f}-{hi:.2f}) | "
                     + ("-" if t is None else f"{bound} {t:g}") + f" | {met} |")
    return lines


def tables(chosen, m, spread, reps):
    lines = [f"Kernels: `{chosen}`. Medians of {reps} repetitions; ratios are formed within each "
             "iteration, the range is the lowest and highest repetition's median."]
    lines += table(m, spread, "cache", "In cache (n = 1024), ns per element:",
                   ["loop of scalar calls", "array", "speed-up (range)"], 3, CACHE_TARGETS.get, "higher")
    lines += table(m, spread, "cache_floor", "In cache, against the load-load-store floor, ns per element:",
                   ["floor", "array", "array / floor (range)"], 3, lambda op: None, "lower")
    lines += table(m, spread, "memory", "From memory (n = 2^24, 256 MiB per array), ns per element:",
                   ["floor (load-load-store)", "array", "array / floor (range)"], 2, MEMORY_TARGETS.get, "lower")
    lines += table(m, spread, "special", "Special mix (n = 1024, one element in eight with a zero, infinite or "
                   "NaN part), ns per element:", ["ordinary", "special mix", "special / ordinary (range)"], 3,
                   lambda op: SPECIAL_TARGET, "lower")
    return lines


def cpu_name():
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or platform.machine()


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default="build/bench")
    ap.add_argument("--targets", default="", help="comma-separated kernel tables; default: the machine's choice")
    ap.add_argument("--repetitions", type=int, default=5)
    ap.add_argument("--min-time", type=float, default=0.2)
    ap.add_argument("--update", metavar="FILE")
    args = ap.parse_args()

    binary = os.path.join(args.build, "bench", "zu_array_bench")
    out = [BEGIN_MARK, "",
           f"Measured {time.strftime('%Y-%m-%d')} on {cpu_name()}, {os.cpu_count()} cores, "
           f"{platform.system()} {platform.release()}, by `bench/run.sh --arrays --update docs/PERFORMANCE.md`"
           + (f" (`--targets {args.targets}`)" if args.targets else "") + ".", ""]
    for target in (args.targets.split(",") if args.targets else [""]):
        chosen, medians, spread = run(binary, target, args.repetitions, args.min_time)
        out += tables(chosen, medians, spread, args.repetitions)
        out.append("")
    out.append(END_MARK)
    text = "\n".join(out) + "\n"
    print(text)
    if args.update:
        with open(args.update) as f:
            doc = f.read()
        begin, end = doc.find(BEGIN_MARK), doc.find(END_MARK)
        if begin < 0 or end < 0:
            sys.exit(f"{args.update}: no {BEGIN_MARK} ... {END_MARK} block")
        with open(args.update, "w") as f:
            f.write(doc[:begin] + text.rstrip("\n") + doc[end + len(END_MARK):])


if __name__ == "__main__":
    main()
