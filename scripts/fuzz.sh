#!/usr/bin/env bash
# Runs one fuzz target with libFuzzer under Address- and UB-Sanitizer:
#     bash scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
# TARGET is one of the names in tests/fuzz/README.md (project, requirements,
# step, geometry, listing, export, roomform, places). Installs clang and
# libFuzzer into the build root from tests/fuzz/packages.txt once, builds
# into build/<where>-fuzz, seeds the corpus from tests/data, bench/data and the target's regression cases, and
# keeps what it learns in build/fuzz-corpus/TARGET. Findings land in
# build/fuzz-findings/TARGET. Files among the arguments (findings) are run
# on their own instead, to reproduce or (-minimize_crash=1) shrink them.
# Never part of the test command.
set -euo pipefail
source "$(dirname "$0")/env.sh"

fuzz_packages="$KOVRA_SRC/tests/fuzz/packages.txt"
fuzz_stamp="$KOVRA_ROOT/.kovra-fuzz-packages"

fuzz_wanted() {
    grep -v -E '^\s*(#|$)' "$fuzz_packages" | tr '\n' ' '
}

# Installs the fuzz packages where the build runs; retries while another
# apt holds the lock, since several builds share the root.
ensure_fuzz_packages() {
    local digest
    digest=$(fuzz_wanted | sha256sum | awk '{print $1}')
    if host_is_native; then
        command -v clang++ >/dev/null 2>&1 || die "clang is missing: install $(fuzz_wanted)"
        return
    fi
    ensure_root
    [ "$(cat "$fuzz_stamp" 2>/dev/null)" = "$digest" ] && return
    log "installing the fuzzers' packages into the build root: $(fuzz_wanted)"
    local try
    for try in 1 2 3 4 5 6 7 8 9 10; do
        if in_root env DEBIAN_FRONTEND=noninteractive sh -c \
            "apt-get update -qq && apt-get install -y -qq --no-install-recommends $(fuzz_wanted) >/tmp/kovra-fuzz-apt.log 2>&1 || { tail -n 20 /tmp/kovra-fuzz-apt.log; exit 1; }"; then
            echo "$digest" >"$fuzz_stamp"
            return
        fi
        log "apt failed (try $try), perhaps another apt holds the lock; retrying in 30 s"
        sleep 30
    done
    die "installing the fuzzers' packages failed"
}

if [ "${1:-}" = "--inside" ]; then
    shift
    target=$1 seconds=$2
    shift 2
    where=native
    [ -f /etc/kovra-root ] && where=root
    dir="build/$where-fuzz"
    mkdir -p "$dir"
    exec 9>"$dir/.build-lock"
    flock 9
    if [ ! -f "$dir/build.ninja" ]; then
        CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Fuzz \
            -DKOVRA_BUILD_GUI=OFF -DKOVRA_BUILD_TESTS=OFF -DKOVRA_BUILD_FUZZERS=ON >&2
    fi
    cmake --build "$dir" -j "${KOVRA_JOBS:-2}" --target "fuzz_$target" >&2
    flock -u 9
    corpus="build/fuzz-corpus/$target"
    findings="build/fuzz-findings/$target"
    mkdir -p "$corpus" "$findings"
    seeds=()
    for s in "tests/fuzz/regressions/$target"; do
        [ -d "$s" ] && seeds+=("$s")
    done
    case "$target" in
        project | export) seeds+=(tests/data bench/data) ;;
        requirements | roomform) seeds+=(tests/data) ;;
    esac
    # As in the tests: stacks of allocations are unwound without frame
    # pointers, so that a leak of a library we do not own ends in that library
    # and matches its suppression (scripts/lsan.supp), and every other leak,
    # ours or the C library's on our behalf, is reported.
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:fast_unwind_on_malloc=0:malloc_context_size=5}"
    export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}"
    export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
    quiet_solver_libraries
    options=() inputs=()
    for arg in "$@"; do
        case "$arg" in
            -*) options+=("$arg") ;;
            *) inputs+=("$arg") ;;
        esac
    done
    # Given inputs (findings to reproduce or shrink) run on their own.
    if [ ${#inputs[@]} -gt 0 ]; then
        exec "$dir/tests/fuzz/targets/fuzz_$target" -max_total_time="$seconds" \
            -artifact_prefix="$findings/" "${options[@]}" "${inputs[@]}"
    fi
    exec "$dir/tests/fuzz/targets/fuzz_$target" "$corpus" "${seeds[@]}" \
        -max_total_time="$seconds" -artifact_prefix="$findings/" -print_final_stats=1 "${options[@]}"
fi

[ $# -ge 2 ] || die "usage: scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]"
ensure_fuzz_packages
if host_is_native; then
    (cd "$KOVRA_SRC" && bash scripts/fuzz.sh --inside "$@")
else
    in_root bash scripts/fuzz.sh --inside "$@"
fi
