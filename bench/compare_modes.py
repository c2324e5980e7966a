#!/usr/bin/env python3
"""Compare the complex functions of a portable-mode build with those of a
platform-mode build: the ratio of the library's ns per operation (lib_ns of
zu_complex_bench), median over the repetitions of each run.

    bench/compare_modes.py PLATFORM.json PORTABLE.json

The two JSON files are saved by bench/run.sh --save-json from two builds
(see docs/PERFORMANCE.md, "Portable real functions"). The two runs are
separate processes, so repeat them and compare the spread. Only the Python
standard library is used.
"""

import json
import statistics
import sys

TARGET = 1.3


def medians(path):
    data = json.load(open(path))
    runs = {}
    for b in data["benchmarks"]:
        if b.get("run_type") == "iteration" and "lib_ns" in b:
            runs.setdefault(b["run_name"].replace("/real_time", ""), []).append(b["lib_ns"])
    return {k: statistics.median(v) for k, v in runs.items()}


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    platform, portable = medians(sys.argv[1]), medians(sys.argv[2])
    print("| operation | platform ns | portable ns | portable / platform | target %.1f |" % TARGET)
    print("|---|---:|---:|---:|---|")
    for name, p in platform.items():
        if name not in portable:
            continue
        q = portable[name]
        ratio = q / p if p > 0 else float("nan")
        print("| %s | %.1f | %.1f | %.2f | %s |" % (name, p, q, ratio, "met" if ratio <= TARGET else "**missed**"))


if __name__ == "__main__":
    main()
