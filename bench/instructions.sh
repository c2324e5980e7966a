#!/bin/sh
# Instructions per call of the library's operations, counted by valgrind's
# callgrind (Debian: valgrind), for typical and special operands: a figure
# the load on the machine does not move. Builds the benchmark tree as
# bench/run.sh does, then runs bench/instructions.cpp under callgrind once
# per operation and operand set, and once without calls, which it subtracts.
#     bench/instructions.sh [LIBRARY_DIR...]
# With directories, the same driver runs against the libzu_complex.so in
# each (e.g. a build with other flags), one column each.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ZU_BENCH_BUILD_DIR:-$root/build/bench}
"$root/bench/run.sh" --build-only
driver=$build/bench/zu_complex_instructions
[ $# -gt 0 ] || set -- "$build"
calls=$((4096 * 25))
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# instructions <library dir> <operation> <set>: total instructions of one run
instructions() {
    LD_LIBRARY_PATH=$1 valgrind --tool=callgrind --callgrind-out-file="$out" "$driver" "$2" "$3" >/dev/null 2>&1
    awk '/^summary:/ { print $2 }' "$out"
}

printf '| Operation | Operands |'
for dir in "$@"; do printf ' %s |' "$dir"; done
printf '\n|---|---|'
for dir in "$@"; do printf -- '---:|'; done
printf '\n'
for op in mul pair_mul div abs exp log sqrt pow_z_double pow_z_w tan asin acos atan floor round; do
    for set in typical special; do
        printf '| %s | %s |' "$op" "$set"
        for dir in "$@"; do
            base=$(instructions "$dir" none "$set")
            total=$(instructions "$dir" "$op" "$set")
            printf ' %d |' $(( (total - base) / calls ))
        done
        printf '\n'
    done
done
