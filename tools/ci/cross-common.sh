# Shared by the CI stages that build with the toolchain files in
# cmake/toolchains/ (tools/ci/cross, tools/ci/digest): sourced, not run.
# The sourcing script sets `stage_name` (for messages), `root` (the source
# tree) and `out` (its build directory) first.

jobs=2
stage_start=$SECONDS

say() { echo "== $stage_name: $* ($((SECONDS - stage_start)) s)"; }

apt_install() {
    export DEBIAN_FRONTEND=noninteractive
    apt-get -o DPkg::Lock::Timeout=600 update -q
    apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "$@"
}

missing_packages() {
    local p
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || echo "$p"
    done
}

# install_missing <package>...: installs those not installed yet.
install_missing() {
    local missing
    mapfile -t missing < <(missing_packages "$@")
    if ((${#missing[@]})); then
        say "installing ${missing[*]}"
        apt_install "${missing[@]}"
    fi
}

# configure <platform> <toolchain> [cmake args...]: build tree $out/<platform>;
# <toolchain> names a file in cmake/toolchains/, or is empty for the host's
# compiler (CXX). The native suite's optimisation (-O2), without debug
# information, which would only cost time.
configure() {
    local platform=$1 toolchain=$2
    shift 2
    say "$platform: configure and build"
    rm -rf "${out:?}/$platform"
    local toolchain_arg=()
    [ -z "$toolchain" ] || toolchain_arg=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/$toolchain.cmake")
    cmake -S "$root" -B "$out/$platform" "${toolchain_arg[@]}" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
        -DZU_COMPLEX_BUILD_EXAMPLES=OFF -DZU_COMPLEX_WERROR="${ZU_COMPLEX_WERROR:-OFF}" "$@" \
        >"$out/$platform.configure.log" || { cat "$out/$platform.configure.log"; return 1; }
}

# build <platform> [targets...]
build() {
    local platform=$1
    shift
    if (($#)); then
        cmake --build "$out/$platform" -j "$jobs" --target "$@"
    else
        cmake --build "$out/$platform" -j "$jobs"
    fi
}

# run_tests <platform> [ctest args...]
run_tests() {
    local platform=$1
    shift
    say "$platform: tests"
    ctest --test-dir "$out/$platform" -j "$jobs" --timeout 300 --output-on-failure --no-tests=error "$@"
}

# Each platform runs to its end; the stage fails at the end if any did. (The
# steps are chained with &&: errexit does not apply inside a condition.)
failed=()
# stage <platform> <function> [args...]
stage() {
    local platform=$1
    shift
    if ! "$@"; then
        echo "== $stage_name: $platform FAILED"
        failed+=("$platform")
    fi
}

# Wine: fresh prefixes, stopped when the stage ends.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_prefixes=()
# wine_ready <loader> <prefix>: a fresh Wine prefix this loader starts
# programs in.
wine_ready() {
    [ -n "$1" ] && [ -x "$1" ] || return 1
    rm -rf "$2"
    wine_prefixes+=("$2")
    WINEPREFIX=$2 timeout 300 "$1" wineboot --init >/dev/null 2>&1 || return 1
    WINEPREFIX=$2 timeout 120 "$1" cmd.exe /c echo wine-ok 2>/dev/null | grep -q wine-ok
}
stop_wine() {
    local prefix server
    for prefix in "${wine_prefixes[@]}"; do
        for server in /usr/lib/wine/wineserver64 /usr/lib/wine/wineserver32; do
            if [ -x "$server" ]; then WINEPREFIX=$prefix "$server" -k >/dev/null 2>&1 || true; fi
        done
    done
}
trap stop_wine EXIT
