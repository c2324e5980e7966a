#!/bin/sh
# Builds tools/real_exp_check/check (in build/real_exp_check, with the
# library's own flags for the real functions) and runs every distribution:
#   sh tools/real_exp_check/run.sh [N per distribution] [n|u|d|z]
# Needs g++ and libmpfr-dev.
set -e
N=${1:-1000000}; MODE=${2:-n}
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
OUT=$ROOT/build/real_exp_check
mkdir -p "$OUT"
FLAGS="-std=c++17 -O2 -ffp-contract=off -I$ROOT/src"
for f in exp exp_log_data log pow hyperbolic exact; do
    g++ $FLAGS -fno-math-errno -c "$ROOT/src/real/$f.cpp" -o "$OUT/$f.o"
done
g++ $FLAGS -fno-builtin "$ROOT/tools/real_exp_check/check.cpp" "$OUT"/*.o -lmpfr -lgmp -o "$OUT/check"
cd "$OUT"
for d in wide small sub big busy bits; do ./check exp $d "$N" "$MODE"; done
for d in wide busy near1 nearer1 sub other; do ./check log $d "$N" "$MODE"; done
for d in wide busy near1 negint sub int other; do ./check pow $d "$N" "$MODE"; done
for f in cosh sinh; do for d in wide small busy unit big bits; do ./check $f $d "$N" "$MODE"; done; done
