#!/usr/bin/env bash
# Builds the application and starts it on the user's display. Runs in two
# passes: on the host it creates or updates the build root when the host lacks
# the libraries, then runs itself again inside the root (or natively) with
# --inside, which builds and starts. Inside the root, only the variables that
# KOVRA_PASSED_VARIABLES in scripts/env.sh lists are set.
set -euo pipefail
source "$(dirname "$0")/env.sh"

if [ "${1:-}" = "--inside" ]; then
    shift
    dir=$(KOVRA_TARGETS="${KOVRA_TARGETS:-KovraApp}" bash scripts/build.sh | tail -n 1)
    app="$PWD/$dir/src/KovraApp"
    # The program reads its images and texts relative to its working folder.
    [ -d resources ] && cd resources
    if [ -z "${DISPLAY:-}" ]; then
        die "no display: set DISPLAY (for a virtual one: xvfb-run -a bash scripts/start.sh)"
    fi
    quiet_solver_libraries
    exec "$app" "$@"
fi

in_env bash scripts/start.sh --inside "$@"
