#!/usr/bin/env bash
# Builds everything and runs every test, GUI tests under a virtual display.
# Runs in two passes: on the host it creates or updates the build root when the
# host lacks the libraries, then runs itself again inside the root (or natively)
# with --inside, which builds and tests. Inside the root, only the variables that
# KOVRA_PASSED_VARIABLES in scripts/env.sh lists are set.
# KOVRA_BUILD_TYPE=Asan runs the tests with Address- and UB-Sanitizer, Tsan with
# ThreadSanitizer (tests/README.md).
set -euo pipefail
source "$(dirname "$0")/env.sh"

if [ "${1:-}" = "--inside" ]; then
    shift
    dir=$(bash scripts/build.sh | tail -n 1)
    # Stacks of allocations are unwound without frame pointers, which the
    # system's libraries lack, so that a library's leak names the library and
    # matches its suppression. Five frames are enough for that and for finding
    # an allocation of our own; the solver allocates so often that every frame
    # more costs the sanitized tests about a tenth of their time.
    export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:fast_unwind_on_malloc=0:malloc_context_size=5}"
    export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$PWD/scripts/lsan.supp:print_suppressions=0}"
    # ThreadSanitizer sees the libraries we load but do not build (GLib, GTK,
    # Pango, fontconfig, X11, wxWidgets, the image loader) only through their
    # calls to the C library, and GLib's mutexes not at all (futexes): it took
    # their hand-overs between their own threads for races and their locks,
    # half seen, for misuse (about 150 reports per GUI program). Reports from
    # calls made in such libraries are dropped; our code is checked in full.
    export TSAN_OPTIONS="${TSAN_OPTIONS:-ignore_noninstrumented_modules=1}"
    quiet_solver_libraries
    # KOVRA_GTEST_FILTER picks test cases within the programs that run, which
    # the sanitized builds run in shards rather than case by case (gtest's
    # --gtest_filter syntax).
    if [ -n "${KOVRA_GTEST_FILTER:-}" ]; then
        export GTEST_FILTER="$KOVRA_GTEST_FILTER"
    fi
    # All GUI tests share one virtual display. A failing shard prints all its
    # output, so that the failed case's name at its end is never cut off.
    exec xvfb-run -a -s "-screen 0 1280x800x24" \
        ctest --test-dir "$dir" --output-on-failure --test-output-size-failed 4000000 \
        -j "$(nproc)" ${CTEST_ARGS:-} "$@"
fi

in_env bash scripts/test.sh --inside "$@"
