#!/usr/bin/env bash
# Configures and builds the project where the libraries are (called by
# test.sh and start.sh, inside the build root or natively). Prints the build
# folder on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
type="${KOVRA_BUILD_TYPE:-RelWithDebInfo}"
where=native
[ -f /etc/kovra-root ] && where=root
dir="${KOVRA_BUILD_DIR:-build/$where-$(echo "$type" | tr '[:upper:]' '[:lower:]')}"
mkdir -p "$dir"
# One build at a time per folder: concurrent runs wait for each other.
exec 9>"$dir/.build-lock"
flock 9
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" >&2
fi
# KOVRA_TARGETS limits the build to some targets (such as "test_model"),
# KOVRA_JOBS the number of parallel compile jobs (default: all cores).
# shellcheck disable=SC2086
cmake --build "$dir" -j "${KOVRA_JOBS:-$(nproc)}" ${KOVRA_TARGETS:+--target $KOVRA_TARGETS} >&2
echo "$dir"
