#!/bin/sh
# Builds zu_real_bench in Release (build/bench) and prints the real-function
# table of docs/PERFORMANCE.md: each portable real function next to the
# platform's on the same arguments. Arguments go to bench/real_report.py, e.g.
#     bench/real_run.sh --update docs/PERFORMANCE.md
# Needs cmake, a C and C++ compiler, Google Benchmark (Debian:
# libbenchmark-dev) and python3.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZU_BENCH_BUILD_DIR:-$root/build/bench}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZU_COMPLEX_BUILD_BENCH=ON \
    -DZU_COMPLEX_BUILD_TESTS=OFF -DZU_COMPLEX_BUILD_EXAMPLES=OFF -DZU_COMPLEX_BUILD_TOOLS=OFF \
    >/dev/null
cmake --build "$build" --target zu_real_bench -j 2 >/dev/null
exec python3 "$root/bench/real_report.py" --build "$build" "$@"
