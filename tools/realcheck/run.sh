#!/bin/sh
# Builds zu_realcheck (build/realcheck, Release) and prints the table of
# docs/ACCURACY.md, "Portable real functions". Arguments go to zu_realcheck,
# e.g. the full measurement (10^7 arguments per function, the hard cases of
# hard_cases.txt, 10^6 per directed rounding mode):
#     tools/realcheck/run.sh --threads 2 --directed 1000000
# Needs cmake, a C++17 compiler and MPFR (Debian: libmpfr-dev).
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${ZU_REALCHECK_BUILD_DIR:-$root/build/realcheck}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZU_COMPLEX_BUILD_REALCHECK=ON \
    -DZU_COMPLEX_BUILD_TESTS=OFF -DZU_COMPLEX_BUILD_EXAMPLES=OFF -DZU_COMPLEX_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" --target zu_realcheck -j 2 >/dev/null
exec "$build/tools/realcheck/zu_realcheck" "$@"
