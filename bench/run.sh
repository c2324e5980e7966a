#!/bin/sh
# Builds the benchmark in Release (build/bench) and prints the table of
# docs/PERFORMANCE.md. Arguments go to bench/report.py, e.g.
#     bench/run.sh --update docs/PERFORMANCE.md
#     bench/run.sh --filter 'exp|log' --repetitions 3
# ZU_BENCH_CMAKE_ARGS adds configure options, e.g. -DZU_COMPLEX_REAL_MATH=portable
# (with its own ZU_BENCH_BUILD_DIR) for the portable-mode comparison of
# docs/PERFORMANCE.md.
# With --arrays first, the array functions' benchmark instead
# (bench/array_report.py), e.g.
#     bench/run.sh --arrays --targets avx512,avx2,sse2 --update docs/PERFORMANCE.md
# With --build-only, it builds and stops (bench/instructions.sh uses it).
# Needs cmake, a C and C++ compiler, Google Benchmark (Debian:
# libbenchmark-dev) and python3.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZU_BENCH_BUILD_DIR:-$root/build/bench}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZU_COMPLEX_BUILD_BENCH=ON \
    -DZU_COMPLEX_BUILD_TESTS=OFF -DZU_COMPLEX_BUILD_EXAMPLES=OFF -DZU_COMPLEX_BUILD_TOOLS=OFF \
    ${ZU_BENCH_CMAKE_ARGS:-} >/dev/null
if [ "${1:-}" = --arrays ]; then
    shift
    cmake --build "$build" --target zu_array_bench -j 2 >/dev/null
    exec python3 "$root/bench/array_report.py" --build "$build" "$@"
fi
cmake --build "$build" --target zu_complex_bench zu_complex_instructions -j 2 >/dev/null
if [ "${1:-}" = --build-only ]; then exit 0; fi
exec python3 "$root/bench/report.py" --build "$build" "$@"
