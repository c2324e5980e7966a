#!/usr/bin/env bash
# Regenerates docs/ACCURACY.md, docs/accuracy/*.png and docs/accuracy/results.csv:
# builds zu_accuracy with -DZU_COMPLEX_BUILD_ACCURACY=ON, measures every
# function against GNU MPC, puts the library beside C99 (glibc) and
# std::complex on special values, draws the error maps with gnuplot and fills
# in tools/accuracy/ACCURACY.md.in.
#
#   tools/accuracy/make_report.sh [--samples N] [--grid N]
#
# Needs cmake, a C++17 compiler, GNU MPC and MPFR (Debian: libmpc-dev
# libmpfr-dev) and gnuplot with the pngcairo terminal (gnuplot-nox). The
# build goes to build/accuracy (or $ZU_ACCURACY_BUILD_DIR). With the defaults
# it takes one to two minutes on two cores.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${ZU_ACCURACY_BUILD_DIR:-$root/build/accuracy}
docs=$root/docs
samples=10000
grid=300
span=3
maps=(log sqrt atan asin acos tan tanh)

while (($#)); do
    case $1 in
    --samples) samples=$2; shift 2 ;;
    --grid) grid=$2; shift 2 ;;
    -h | --help) sed -n '2,14p' "$0"; exit 0 ;;
    *) echo "make_report.sh: unknown argument '$1'" >&2; exit 2 ;;
    esac
done

for tool in cmake gnuplot; do
    if ! command -v "$tool" >/dev/null; then
        echo "make_report.sh: '$tool' not found (Debian: apt-get install cmake gnuplot-nox libmpc-dev libmpfr-dev)" >&2
        exit 1
    fi
done
if ! gnuplot -e 'set terminal' 2>&1 | grep -q pngcairo; then
    echo "make_report.sh: this gnuplot has no pngcairo terminal (Debian: apt-get install gnuplot-nox)" >&2
    exit 1
fi

echo "== configure and build ($build)"
cmake -S "$root" -B "$build" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZU_COMPLEX_BUILD_ACCURACY=ON \
    -DZU_COMPLEX_BUILD_TESTS=OFF \
    -DZU_COMPLEX_BUILD_EXAMPLES=OFF \
    -DZU_COMPLEX_BUILD_TOOLS=OFF \
    -DZU_COMPLEX_INSTALL=OFF >"$build.configure.log" 2>&1 || {
    cat "$build.configure.log" >&2
    exit 1
}
cmake --build "$build" --target zu_accuracy -j 2

prog=$build/tools/accuracy/zu_accuracy
out=$build/report
mkdir -p "$out" "$docs/accuracy"
map_list=$(IFS=,; echo "${maps[*]}")

# The commands as run, with paths relative to the top of the source tree.
rel() { case $1 in "$root"/*) echo "${1#"$root"/}" ;; *) echo "$1" ;; esac; }
table_cmd="$(rel "$prog") --samples $samples --table $(rel "$out")/tables.md --csv docs/accuracy/results.csv"
maps_cmd="$(rel "$prog") --examples $(rel "$out")/examples.md --conventions $(rel "$out")/conventions.md --maps $(rel "$out") --grid $grid --span $span --map-functions $map_list"

echo "== measure: $samples samples per region; maps of ${maps[*]} on a $grid x $grid grid (two processes)"
start=$(date +%s)
times >"$out/times.before"
"$prog" --samples "$samples" --table "$out/tables.md" --csv "$docs/accuracy/results.csv" 2>"$out/tables.log" &
table_pid=$!
"$prog" --examples "$out/examples.md" --conventions "$out/conventions.md" --maps "$out" --grid "$grid" --span "$span" \
    --map-functions "$map_list" 2>"$out/maps.log" &
maps_pid=$!
status=0
wait "$table_pid" || status=$?
wait "$maps_pid" || status=$?
if ((status)); then
    tail -n 20 "$out/tables.log" "$out/maps.log" >&2
    echo "make_report.sh: zu_accuracy failed" >&2
    exit 1
fi
elapsed=$(($(date +%s) - start))
# Processor time of the two measuring processes: the difference of the
# children's user and system times that `times` prints (run in this shell,
# not in a command substitution, whose own children would be counted).
times >"$out/times.after"
cpu_time=$(awk 'FNR == 2 {
    n = split($0, t, /[ ms]+/)
    for (i = 1; i + 1 <= n; i += 2) if (t[i] != "") s += (FILENAME ~ /after$/ ? 1 : -1) * (t[i] * 60 + t[i + 1])
} END { printf "%.0f", s }' "$out/times.before" "$out/times.after")

echo "== pictures"
for f in "${maps[@]}"; do
    gnuplot -e "datafile='$out/map_$f.dat'; outfile='$docs/accuracy/$f.png'; fname='$f'; span=$span" "$here/heatmap.gp"
done

echo "== docs/ACCURACY.md"
# (No `head` in these pipelines: with pipefail, the writer's SIGPIPE would
# end the script.)
cpu=$(lscpu 2>/dev/null | awk -F': *' '/^Model name:/ && !n++ {print $2}' || true)
mem=$(free -g 2>/dev/null | awk '/^Mem:/ {print $2 " GiB"}' || true)
os=$( (. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME") || uname -s)
libc=$(ldd --version 2>/dev/null | awk 'NR == 1 {sub(/^ldd /, ""); print}' || true)
gnuplot_version=$(gnuplot --version)
{
    echo "- Processor: ${cpu:-unknown}, $(nproc) cores, ${mem:-unknown} memory"
    echo "- System: $os, Linux $(uname -r) $(uname -m); C library: ${libc:-unknown}"
    "$prog" --versions | sed 's/^/- /'
    echo "- Pictures: $gnuplot_version"
} >"$out/machine.md"

{
    echo '    tools/accuracy/make_report.sh'"$( ((samples != 10000 || grid != 300)) && echo " --samples $samples --grid $grid")"
    echo
    echo "which configured and built \`zu_accuracy\` (CMake option \`ZU_COMPLEX_BUILD_ACCURACY=ON\`, build type"
    echo "RelWithDebInfo), ran these two commands side by side, then gnuplot with \`tools/accuracy/heatmap.gp\`:"
    echo
    echo "    $table_cmd"
    echo "    $maps_cmd"
} >"$out/command.md"

template=$here/ACCURACY.md.in
target=$docs/ACCURACY.md
: >"$target.tmp"
while IFS= read -r line || [[ -n $line ]]; do
    case $line in
    @MACHINE@) cat "$out/machine.md" >>"$target.tmp" ;;
    @COMMAND@) cat "$out/command.md" >>"$target.tmp" ;;
    @EXAMPLES@) cat "$out/examples.md" >>"$target.tmp" ;;
    @CONVENTIONS@) cat "$out/conventions.md" >>"$target.tmp" ;;
    @TABLES@) cat "$out/tables.md" >>"$target.tmp" ;;
    *)
        line=${line//@SAMPLES@/$samples}
        line=${line//@GRID@/$grid}
        line=${line//@ELAPSED@/$elapsed}
        line=${line//@CPUTIME@/$cpu_time}
        printf '%s\n' "$line" >>"$target.tmp"
        ;;
    esac
done <"$template"
mv "$target.tmp" "$target"
echo "== done: $target ($elapsed s of measuring)"
