#!/usr/bin/env bash
# Times continuous integration as a small machine runs it: clones the
# repository's current commit afresh, pins the whole run to two cores
# (taskset -c 0,1) and runs `CI=true bash .ci/run` there, printing each
# pass's time (the lines "[ci] pass ...") and the total. Needs root, as the
# build root does. The clone is removed afterwards unless KEEP=1.
#     bash scripts/ci-time.sh [commit]
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
commit="${1:-HEAD}"
where=$(mktemp -d "${TMPDIR:-/tmp}/kovra-ci-time.XXXXXX")
cleanup() { [ "${KEEP:-}" = 1 ] || rm -rf "$where"; }
trap cleanup EXIT
git clone -q "$src" "$where/kovra"
git -C "$where/kovra" checkout -q "$(git -C "$src" rev-parse "$commit")"
echo "[ci-time] commit $(git -C "$where/kovra" rev-parse --short HEAD) on cores 0,1 in $where/kovra"
start=$SECONDS
# KOVRA_JOBS and ctest's -j follow the two cores the run may use.
set +e
(cd "$where/kovra" && CI=true KOVRA_JOBS=2 CTEST_ARGS="-j 2" taskset -c 0,1 bash .ci/run) \
    2>&1 | tee "$where/ci.log" | grep --line-buffered -E '^\[ci\]|tests passed|tests failed'
status=${PIPESTATUS[0]}
set -e
[ "$status" = 0 ] || tail -n 40 "$where/ci.log"
echo "[ci-time] total $((SECONDS - start)) s, exit $status"
exit "$status"
