"""Speed of the zu_complex ufuncs on a million elements, against the library's
C array functions and NumPy's own ufuncs on the same arrays.

    /usr/bin/python3 bench/python_ufuncs.py [--rounds N] [--update docs/PERFORMANCE.md]

Builds a Release tree in build/python-bench (the shared library and the
Python module), then times, round after round and interleaved, each of

    C      the array function through ctypes (Vel_ComplexMultiplyArray, ...)
    ufunc  zu_complex.multiply(a, b, out=out), ...
    NumPy  numpy.multiply(a, b, out=out), ...

on the same operands and the same preallocated output, so that no
contender pays for page faults the others skip. Each cell is the median
over the rounds of the best of five calls; the ratios are medians of the
ratios within each round, which a machine busy with other work disturbs
least. With --update, the block between the markers in the file is
replaced by the table.
"""
import argparse
import ctypes
import os
import platform
import statistics
import subprocess
import sys
import time

import numpy as np

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BEGIN, END = "<!-- python-ufuncs:begin -->", "<!-- python-ufuncs:end -->"


def build(directory):
    subprocess.run(["cmake", "-S", ROOT, "-B", directory, "-DCMAKE_BUILD_TYPE=Release",
                    "-DZU_COMPLEX_BUILD_PYTHON=ON", f"-DPython3_EXECUTABLE={sys.executable}",
                    "-DZU_COMPLEX_BUILD_TESTS=OFF", "-DZU_COMPLEX_BUILD_EXAMPLES=OFF",
                    "-DZU_COMPLEX_BUILD_TOOLS=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", directory, "-j", "2", "--target", "zu_complex", "zu_complex_python"],
                   check=True, stdout=subprocess.DEVNULL)


def best_of(f, calls=5):
    best = float("inf")
    for _ in range(calls):
        start = time.perf_counter()
        f()
        best = min(best, time.perf_counter() - start)
    return best


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "python-bench"))
    parser.add_argument("--rounds", type=int, default=25)
    parser.add_argument("--n", type=int, default=1_000_000)
    parser.add_argument("--update", metavar="FILE")
    args = parser.parse_args()

    build(args.build)
    sys.path.insert(0, os.path.join(args.build, "python"))
    import zu_complex as zu

    lib = ctypes.CDLL(os.path.join(args.build, "libzu_complex.so"))
    if not hasattr(lib, "Vel_ComplexMultiplyArray"):
        sys.exit("this libzu_complex has no array functions to compare with")
    p = ctypes.c_void_p
    for name in ("Vel_ComplexMultiplyArray", "Vel_ComplexDivideArray"):
        getattr(lib, name).argtypes = [p, p, p, ctypes.c_size_t]
    lib.Vel_ComplexAbsArray.argtypes = [p, p, ctypes.c_size_t]
    lib.Vel_ComplexArrayTarget.restype = ctypes.c_char_p

    n = args.n
    rng = np.random.default_rng(2024)
    a = rng.normal(size=n) + 1j * rng.normal(size=n)
    b = rng.normal(size=n) + 1j * rng.normal(size=n)
    out_c, out_d = np.empty(n, complex), np.empty(n)
    ptr = lambda x: x.ctypes.data  # noqa: E731

    cases = [
        ("multiply", lambda: lib.Vel_ComplexMultiplyArray(ptr(out_c), ptr(a), ptr(b), n),
         lambda: zu.multiply(a, b, out=out_c), lambda: np.multiply(a, b, out=out_c)),
        ("divide", lambda: lib.Vel_ComplexDivideArray(ptr(out_c), ptr(a), ptr(b), n),
         lambda: zu.divide(a, b, out=out_c), lambda: np.divide(a, b, out=out_c)),
        ("abs", lambda: lib.Vel_ComplexAbsArray(ptr(out_d), ptr(a), n),
         lambda: zu.abs(a, out=out_d), lambda: np.abs(a, out=out_d)),
    ]
    times = {name: [[], [], []] for name, *_ in cases}
    for _ in range(args.rounds):
        for name, *contenders in cases:
            for column, f in zip(times[name], contenders):
                column.append(best_of(f))

    lines = [f"{n:,} complex128 elements, {args.rounds} rounds; array kernels: "
             f"{lib.Vel_ComplexArrayTarget().decode()}; NumPy {np.__version__}; "
             f"{platform.processor() or platform.machine()}.", "",
             "| Operation | C array function | zu_complex ufunc | NumPy ufunc | ufunc / C | ufunc / NumPy |",
             "|---|---:|---:|---:|---:|---:|"]
    for name, (c, ufunc, numpy) in times.items():
        ms = [f"{statistics.median(t) * 1e3:.2f} ms" for t in (c, ufunc, numpy)]
        over_c = statistics.median(u / x for u, x in zip(ufunc, c))
        over_np = statistics.median(u / x for u, x in zip(ufunc, numpy))
        lines.append(f"| `{name}` | {ms[0]} | {ms[1]} | {ms[2]} | {over_c:.2f} | {over_np:.2f} |")
    table = "\n".join(lines)
    print(table)

    if args.update:
        with open(args.update) as f:
            text = f.read()
        head, rest = text.split(BEGIN, 1)
        _, tail = rest.split(END, 1)
        with open(args.update, "w") as f:
            f.write(f"{head}{BEGIN}\n{table}\n{END}{tail}")


if __name__ == "__main__":
    main()
