#!/usr/bin/env python3
"""Run zu_complex_bench and print the table of docs/PERFORMANCE.md.

Runs the benchmark binary with repetitions and JSON output, takes for every
operation and operand set the median over the repetitions of each column's
ns per operation and of each ratio (each ratio is itself formed within one
repetition, see bench/bench_main.cpp), checks the ratios against the
project's targets and prints the result as Markdown.

    bench/report.py [--build build/bench] [--repetitions 7] [--min-time 0.1]
                    [--filter REGEX] [--save-json FILE | --from-json FILE]
                    [--update docs/PERFORMANCE.md]

With --update the block between the markers
    <!-- bench-results:begin --> and <!-- bench-results:end -->
in the given file is replaced by the new tables; nothing else is touched.
Only the Python standard library is used.
"""

import argparse
import json
import os
import platform
import re
import shlex
import statistics
import subprocess
import sys
import time

BEGIN_MARK = "<!-- bench-results:begin -->"
END_MARK = "<!-- bench-results:end -->"

# Benchmark name -> label in the table, in table order.
OPERATIONS = [
    ("add", "`a + b`"),
    ("mul", "`a * b`"),
    ("div", "`a / b`"),
    ("abs", "`abs`"),
    ("arg", "`arg`"),
    ("norm", "`norm`"),
    ("exp", "`exp`"),
    ("log", "`log`"),
    ("log10", "`log10`"),
    ("sqrt", "`sqrt`"),
    ("pow_z_int", "`pow(z, int)`"),
    ("pow_z_double", "`pow(z, double)`"),
    ("pow_double_w", "`pow(double, w)`"),
    ("pow_z_w", "`pow(z, w)`"),
    ("sin", "`sin`"),
    ("cos", "`cos`"),
    ("tan", "`tan`"),
    ("sinh", "`sinh`"),
    ("cosh", "`cosh`"),
    ("tanh", "`tanh`"),
    ("asin", "`asin`"),
    ("acos", "`acos`"),
    ("atan", "`atan`"),
    ("stream_write", "`operator<<`"),
    ("stream_read", "`operator>>`"),
    ("pair_mul", "`Vel_ComplexMultiply`"),
    ("pair_div", "`Vel_ComplexDivide`"),
]

# The project's targets: (column the library is measured against, the
# largest ratio that meets the target).
AT_MOST_STD_CALL = ("std_call", 1.0)
TARGETS = {
    "add": AT_MOST_STD_CALL,
    "mul": AT_MOST_STD_CALL,
    "div": ("std_call", 0.75),
    "abs": ("std_call", 0.5),
    "arg": AT_MOST_STD_CALL,
    "norm": AT_MOST_STD_CALL,
    "exp": AT_MOST_STD_CALL,
    "log": AT_MOST_STD_CALL,
    "log10": AT_MOST_STD_CALL,
    "sqrt": ("floor", 1.2),
    "pow_z_int": ("floor", 1.2),
    "pow_z_double": AT_MOST_STD_CALL,
    "pow_double_w": AT_MOST_STD_CALL,
    "pow_z_w": AT_MOST_STD_CALL,
    "sin": AT_MOST_STD_CALL,
    "cos": AT_MOST_STD_CALL,
    "tan": ("floor", 1.2),
    "sinh": AT_MOST_STD_CALL,
    "cosh": AT_MOST_STD_CALL,
    "tanh": ("floor", 1.2),
    "asin": ("floor", 1.25),
    "acos": ("floor", 1.25),
    "atan": ("floor", 1.25),
    "stream_write": AT_MOST_STD_CALL,
    "stream_read": AT_MOST_STD_CALL,
    "pair_mul": AT_MOST_STD_CALL,
    "pair_div": ("std_call", 0.75),
}

SETS = [
    ("typical", "Typical operands"),
    ("special", "Special operands (about 20 % zeros, signed zeros, infinities and NaNs)"),
]

COLUMN_LABELS = {"std_call": "std call", "floor": "floor"}


def parse_args():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.dirname(here)
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--build", default=os.path.join(root, "build", "bench"),
                   help="CMake build directory (default: build/bench)")
    p.add_argument("--binary", help="path of zu_complex_bench (default: <build>/bench/zu_complex_bench)")
    p.add_argument("--repetitions", type=int, default=7)
    p.add_argument("--min-time", type=float, default=0.1,
                   help="seconds per benchmark and repetition (default: 0.1)")
    p.add_argument("--filter", default=".", help="benchmark name regex, e.g. 'exp|log'")
    p.add_argument("--save-json", help="also write the benchmark's raw JSON output here")
    p.add_argument("--from-json", help="format a saved JSON output instead of running")
    p.add_argument("--update", help="replace the results block of this Markdown file")
    return p.parse_args()


def run_benchmark(args):
    binary = args.binary or os.path.join(args.build, "bench", "zu_complex_bench")
    if not os.access(binary, os.X_OK):
        sys.exit(f"report.py: {binary} not found; build it first (see docs/PERFORMANCE.md)")
    cmd = [
        binary,
        "--benchmark_format=json",
        f"--benchmark_repetitions={args.repetitions}",
        f"--benchmark_min_time={args.min_time}",
        f"--benchmark_filter={args.filter}",
        # Repetitions of all benchmarks in a random order, so that each
        # operation's repetitions are spread over the whole run and their
        # median is not that of one passing state of the machine.
        "--benchmark_enable_random_interleaving=true",
    ]
    print("running: " + " ".join(shlex.quote(c) for c in cmd), file=sys.stderr)
    start = time.monotonic()
    proc = subprocess.run(cmd, stdout=subprocess.PIPE, check=False)
    elapsed = time.monotonic() - start
    if proc.returncode != 0:
        sys.exit(f"report.py: the benchmark exited with status {proc.returncode}")
    data = json.loads(proc.stdout)
    data.setdefault("zu_report", {})["runtime_s"] = elapsed
    return data


def collect(data):
    """{(operation, set): {counter: [value per repetition]}}, plus errors."""
    results, errors = {}, []
    for b in data.get("benchmarks", []):
        if b.get("run_type") != "iteration":
            continue
        name = b.get("run_name", b["name"])
        if b.get("error_occurred"):
            errors.append(f"{name}: {b.get('error_message', 'error')}")
            continue
        # "exp/typical", or "exp/typical/real_time" as Google Benchmark names it.
        op, input_set = (name.split("/") + [""])[:2]
        slot = results.setdefault((op, input_set), {})
        for key, value in b.items():
            if key.endswith("_ns") or key.startswith("lib/"):
                slot.setdefault(key, []).append(float(value))
    return results, errors


def fmt_ns(v):
    if v is None:
        return "—"
    if v >= 100:
        return f"{v:.0f}"
    if v >= 10:
        return f"{v:.1f}"
    return f"{v:.2f}"


def fmt_ratio(v):
    return "—" if v is None else f"{v:.2f}"


def median(values):
    return statistics.median(values) if values else None


def table(results, input_set):
    head = ["Operation", "lib ns", "std inline ns", "std call ns", "C99 ns", "floor ns",
            "lib/std call", "lib/std inline", "lib/C99", "lib/floor", "Target", "Status"]
    rows = []
    summary = []
    for op, label in OPERATIONS:
        r = results.get((op, input_set))
        if r is None:
            continue
        med = {k: median(v) for k, v in r.items()}
        row = [label,
               fmt_ns(med.get("lib_ns")), fmt_ns(med.get("std_inline_ns")), fmt_ns(med.get("std_call_ns")),
               fmt_ns(med.get("c99_ns")), fmt_ns(med.get("floor_ns")),
               fmt_ratio(med.get("lib/std_call")), fmt_ratio(med.get("lib/std_inline")),
               fmt_ratio(med.get("lib/c99")), fmt_ratio(med.get("lib/floor"))]
        target = TARGETS.get(op)
        if target is None or med.get("lib/" + target[0]) is None:
            row += ["—", "—"]
        else:
            column, limit = target
            ratio = med["lib/" + column]
            spread = r["lib/" + column]
            row.append(f"≤ {limit:.2f} × {COLUMN_LABELS[column]}")
            # Judged at the two decimals shown: a difference below that is
            # within what the measurement resolves.
            if round(ratio, 2) <= limit:
                status = "met"
            else:
                status = f"**missed** (+{100.0 * (ratio / limit - 1.0):.0f} %)"
            if len(spread) > 1:
                status += f"; {min(spread):.2f}–{max(spread):.2f}"
            row.append(status)
            summary.append((op, input_set, ratio, limit, column))
        rows.append(row)
    widths = [max(len(head[i]), *(len(r[i]) for r in rows)) if rows else len(head[i]) for i in range(len(head))]
    right = set(range(1, 10))

    def line(cells):
        out = []
        for i, c in enumerate(cells):
            out.append(c.rjust(widths[i]) if i in right else c.ljust(widths[i]))
        return "| " + " | ".join(out) + " |"

    sep = "|" + "|".join(("-" * (w + 1) + ":") if i in right else ("-" * (w + 2)) for i, w in enumerate(widths)) + "|"
    return "\n".join([line(head), sep] + [line(r) for r in rows]), summary


def lscpu_value(key):
    try:
        out = subprocess.run(["lscpu"], stdout=subprocess.PIPE, text=True, check=False).stdout
    except OSError:
        return None
    for ln in out.splitlines():
        k, _, v = ln.partition(":")
        if k.strip() == key:
            return v.strip()
    return None


def describe_cores():
    sockets, cores, threads = (lscpu_value(k) for k in ("Socket(s)", "Core(s) per socket", "Thread(s) per core"))
    if not (sockets and cores and threads):
        return None
    return f"{sockets} socket × {cores} cores × {threads} thread per core"


def source_revision(root):
    """The library's commit, and whether src/ or include/ differ from it."""
    try:
        head = subprocess.run(["git", "-C", root, "rev-parse", "--short", "HEAD"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, text=True, check=True).stdout.strip()
        dirty = subprocess.run(["git", "-C", root, "status", "--porcelain", "--", "src", "include"],
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, check=True).stdout
    except (OSError, subprocess.CalledProcessError):
        return None
    return head + (" with uncommitted changes in src/ or include/" if dirty.strip() else "")


def machine(data):
    ctx = data.get("context", {})
    rep = data.get("zu_report", {})
    lines = []
    model = rep.get("cpu_model") or lscpu_value("Model name") or platform.processor() or "unknown"
    cpus = ctx.get("num_cpus")
    mhz = ctx.get("mhz_per_cpu")
    caches = ", ".join(
        f"L{c['level']}{'d' if c['type'] == 'Data' else ('i' if c['type'] == 'Instruction' else '')} "
        f"{c['size'] // 1024} KiB" + (f" (shared by {c['num_sharing']})" if c.get("num_sharing", 1) > 1 else "")
        for c in ctx.get("caches", []))
    cores = rep.get("cores")
    lines.append(f"- CPU: {model}, {cpus} logical CPUs" + (f" ({cores})" if cores else "")
                 + (f", reported {mhz} MHz" if mhz else "")
                 + (f"; caches {caches}" if caches else ""))
    lines.append(f"- Kernel: {rep.get('kernel') or platform.release()}")
    lines.append(f"- C++ compiler: {ctx.get('zu_cxx_compiler', '?')}, libstdc++ {ctx.get('zu_libstdcxx', '?')}; "
                 f"C compiler: {ctx.get('zu_c_compiler', '?')}")
    lines.append(f"- C library: glibc {ctx.get('zu_glibc', '?')}")
    if rep.get("revision"):
        lines.append(f"- Library source: commit {rep['revision']}")
    lines.append(f"- Build: CMAKE_BUILD_TYPE={ctx.get('zu_build_type', '?')}, flags "
                 f"`{' '.join(ctx.get('zu_cxx_flags', '').split())} -ffp-contract=off -fno-fast-math`")
    lines.append(f"- Run: {ctx.get('date', '?')}, {rep.get('repetitions', '?')} repetitions of "
                 f"{rep.get('min_time', '?')} s per benchmark, {rep.get('runtime_s', 0):.0f} s in all; "
                 f"load average before the run {rep.get('load', '?')}; "
                 f"clock read cost {ctx.get('zu_clock_overhead_ns', '?')} ns (subtracted)")
    return "\n".join(lines)


def render(data):
    results, errors = collect(data)
    parts = [machine(data), ""]
    summaries = []
    for input_set, title in SETS:
        if not any(k[1] == input_set for k in results):
            continue
        text, summary = table(results, input_set)
        summaries += summary
        parts += [f"**{title}** (ns per operation; ratios are medians over the repetitions)", "", text, ""]
    missed = [s for s in summaries if round(s[2], 2) > s[3]]
    met = len(summaries) - len(missed)
    parts.append(f"Targets met: {met} of {len(summaries)} rows"
                 + (" (missed: " + ", ".join(f"{op}/{st} {r:.2f} > {lim:.2f}" for op, st, r, lim, _ in missed) + ")"
                    if missed else "") + ".")
    if errors:
        parts += ["", "Errors: " + "; ".join(errors)]
    return "\n".join(parts)


def replace_block(path, begin, end, body):
    """Replaces what lies between the lines `begin` and `end` of the Markdown
    file `path` by `body` (ending with a newline); nothing else changes.
    bench/real_report.py and bench/compare_modes.py use it too."""
    with open(path, encoding="utf-8") as f:
        doc = f.read()
    pattern = re.compile(re.escape(begin) + r".*?" + re.escape(end), re.S)
    if not pattern.search(doc):
        sys.exit(f"{os.path.basename(sys.argv[0])}: {path} has no {begin} ... {end} block")
    doc = pattern.sub(lambda _: begin + "\n" + body + end, doc)
    with open(path, "w", encoding="utf-8") as f:
        f.write(doc)


def main():
    args = parse_args()
    if args.from_json:
        with open(args.from_json, encoding="utf-8") as f:
            data = json.load(f)
    else:
        load = " ".join(f"{v:.2f}" for v in os.getloadavg())
        data = run_benchmark(args)
        data["zu_report"].update({
            "repetitions": args.repetitions,
            "min_time": args.min_time,
            "load": load,
            "cpu_model": lscpu_value("Model name"),
            "cores": describe_cores(),
            "kernel": platform.release(),
            "revision": source_revision(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
        })
        if args.save_json:
            with open(args.save_json, "w", encoding="utf-8") as f:
                json.dump(data, f, indent=1)
    if data.get("context", {}).get("zu_build_type", "").lower() != "release":
        print("report.py: warning: the benchmark was not built with CMAKE_BUILD_TYPE=Release", file=sys.stderr)
    text = render(data)
    print(text)
    if args.update:
        replace_block(args.update, BEGIN_MARK, END_MARK, text + "\n")
        print(f"report.py: updated {args.update}", file=sys.stderr)


if __name__ == "__main__":
    main()
