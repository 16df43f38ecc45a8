# Shared helpers of the set-up scripts: where the build root lives, whether the
# host can build natively, and how to run a command inside the root.
# Sourced, not executed.

# The settings that reach the build and the tests inside the build root, which
# starts from an empty environment: a variable missing here is silently unset
# inside. TERM and XAUTHORITY are passed on their own (XAUTHORITY is copied).
KOVRA_PASSED_VARIABLES=(
    DISPLAY CI CTEST_ARGS KOVRA_GTEST_FILTER
    KOVRA_BUILD_TYPE KOVRA_BUILD_DIR KOVRA_TARGETS KOVRA_JOBS
    KOVRA_SCREENSHOTS KOVRA_KEEP_IFC
    KOVRA_PLATFORM_URL KOVRA_NETRC
)
# Settings the scripts read on the host only (dav-server.sh hands
# KOVRA_DAV_DIR in itself).
KOVRA_HOST_VARIABLES=(KOVRA_ROOT KOVRA_NATIVE KOVRA_DAV_PORT KOVRA_DAV_DIR)

KOVRA_SRC="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KOVRA_ROOT="${KOVRA_ROOT:-/opt/kovra-root}"
KOVRA_PACKAGES="$KOVRA_SRC/scripts/packages.txt"
KOVRA_STAMP="$KOVRA_ROOT/.kovra-packages"

log() { printf '[kovra] %s\n' "$*" >&2; }
die() { printf '[kovra] error: %s\n' "$*" >&2; exit 1; }

# A host with SCIP, Clipper2 and wxWidgets 3.2 builds without the root.
# KOVRA_NATIVE=1 forces the native build, KOVRA_NATIVE=0 forces the root.
host_is_native() {
    case "${KOVRA_NATIVE:-}" in
        1) return 0 ;;
        0) return 1 ;;
    esac
    [ -f /usr/include/scip/scip.h ] || return 1
    [ -f /usr/include/clipper2/clipper.h ] || return 1
    command -v wx-config >/dev/null 2>&1 || return 1
    case "$(wx-config --version 2>/dev/null)" in
        3.2.*|3.3.*) ;;
        *) return 1 ;;
    esac
    command -v cmake >/dev/null 2>&1 && command -v ninja >/dev/null 2>&1
}

# The mirror the host itself uses: its first Debian archive URI.
host_mirror() {
    local uri
    uri=$(grep -h -E '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null \
          | awk '{print $2}' | grep -v -- '-security' | head -n 1)
    if [ -z "$uri" ]; then
        uri=$(grep -h -E '^deb ' /etc/apt/sources.list 2>/dev/null \
              | awk '{print $2}' | grep -v -- '-security' | head -n 1)
    fi
    [ -n "$uri" ] || die "cannot find a Debian mirror in the host's apt configuration"
    printf '%s\n' "$uri"
}

packages_wanted() {
    grep -v -E '^\s*(#|$)' "$KOVRA_PACKAGES" | tr '\n' ' '
}

packages_digest() {
    packages_wanted | sha256sum | awk '{print $1}'
}

# Creates the root when missing and installs the package list when it changed.
ensure_root() {
    [ "$(id -u)" = 0 ] || die "creating and entering the build root needs root"
    if [ ! -x "$KOVRA_ROOT/usr/bin/apt-get" ]; then
        if ! command -v debootstrap >/dev/null 2>&1; then
            log "installing debootstrap on the host"
            apt-get update -qq && apt-get install -y -qq debootstrap >/dev/null \
                || die "cannot install debootstrap"
        fi
        local mirror script
        mirror=$(host_mirror)
        script=/usr/share/debootstrap/scripts/sid
        [ -f /usr/share/debootstrap/scripts/forky ] && script=/usr/share/debootstrap/scripts/forky
        log "creating the build root in $KOVRA_ROOT (Debian testing)"
        rm -rf "$KOVRA_ROOT.partial"
        mkdir -p "$(dirname "$KOVRA_ROOT")"
        debootstrap --variant=minbase forky "$KOVRA_ROOT.partial" "$mirror" "$script" \
            >"$KOVRA_ROOT.debootstrap.log" 2>&1 \
            || die "debootstrap failed, see $KOVRA_ROOT.debootstrap.log"
        echo 'Acquire::Check-Valid-Until "false";' \
            >"$KOVRA_ROOT.partial/etc/apt/apt.conf.d/99kovra-no-valid-until"
        echo "Kovra build root" >"$KOVRA_ROOT.partial/etc/kovra-root"
        mv "$KOVRA_ROOT.partial" "$KOVRA_ROOT"
    fi
    if [ "$(cat "$KOVRA_STAMP" 2>/dev/null)" != "$(packages_digest)" ]; then
        log "installing the build root's packages"
        in_root env DEBIAN_FRONTEND=noninteractive sh -c \
            "apt-get update -qq && apt-get install -y -qq --no-install-recommends $(packages_wanted) >/tmp/kovra-apt.log 2>&1 || { tail -n 30 /tmp/kovra-apt.log; exit 1; }" \
            || die "installing packages into the build root failed"
        packages_digest >"$KOVRA_STAMP"
    fi
}

# "NAME=value" for every passed variable; a warning for a KOVRA_* variable of
# the environment that neither list names.
passed_assignments() {
    local name known=" ${KOVRA_PASSED_VARIABLES[*]} ${KOVRA_HOST_VARIABLES[*]} "
    for name in "${KOVRA_PASSED_VARIABLES[@]}"; do
        [ -z "${!name+set}" ] || printf '%s=%s\0' "$name" "${!name}"
    done
    for name in $(compgen -e | grep '^KOVRA_' || true); do
        case "$known" in
            *" $name "*) ;;
            *) log "warning: $name does not reach the build root" \
                   "(KOVRA_PASSED_VARIABLES in scripts/env.sh)" ;;
        esac
    done
}

# Runs a command inside the root with the repository bound at the same path.
# The mounts live in a private mount namespace and vanish with the command.
in_root() {
    local xbind="" passed=()
    if [ -d /tmp/.X11-unix ]; then xbind=1; fi
    mapfile -d '' passed < <(passed_assignments)
    unshare --mount --propagation private -- env \
        KR="$KOVRA_ROOT" KS="$KOVRA_SRC" XB="$xbind" bash -c '
        set -e
        mount -t proc proc "$KR/proc"
        mount --rbind /dev "$KR/dev"
        mount --rbind /sys "$KR/sys"
        mkdir -p "$KR$KS"
        mount --bind "$KS" "$KR$KS"
        if [ -n "$XB" ]; then
            mkdir -p "$KR/tmp/.X11-unix"
            mount --bind /tmp/.X11-unix "$KR/tmp/.X11-unix"
        fi
        if [ -n "${XAUTHORITY:-}" ] && [ -f "$XAUTHORITY" ]; then
            cp "$XAUTHORITY" "$KR/tmp/.kovra-xauth"
            export XAUTHORITY=/tmp/.kovra-xauth
        fi
        cp /etc/resolv.conf "$KR/etc/resolv.conf" 2>/dev/null || true
        cd "$KS"
        count=$1
        shift
        passed=("${@:1:count}")
        shift "$count"
        exec chroot "$KR" /usr/bin/env -i \
            PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" XAUTHORITY="${XAUTHORITY:-}" \
            "${passed[@]}" \
            bash -c "cd \"$KS\" && \"\$@\"" bash "$@"
    ' bash "${#passed[@]}" "${passed[@]}" "$@"
}

# Runs a command where the libraries are: natively, or inside the root.
# SCIP's NLP solver brings Open MPI and UCX along, and both set themselves up
# in every process that loads them, though Kovra solves in one process: Open
# MPI's fabric probe sleeps a whole second and UCX's memory hooks take almost
# half of one. Every test program and every start paid that. Open MPI's memory
# patcher goes too: programs built with AddressSanitizer die of it.
# hwloc, which they call to learn the machine's layout, reads every PCI device
# name from pci.ids through libpciaccess, which grows its table one entry at a
# time: 0.1 s natively, but 30 to 90 s under AddressSanitizer, whose allocator
# maps and unmaps (with shadow) every regrown block. Without its PCI, OpenCL,
# Level Zero and GL probes a sanitized program that loads the solver starts in
# about 2 s. UCX's GPU and FUSE modules load GPU runtimes for nothing.
quiet_solver_libraries() {
    export OMPI_MCA_btl="${OMPI_MCA_btl:-^ofi}"
    export OMPI_MCA_memory="${OMPI_MCA_memory:-^patcher}"
    export UCX_MEM_MMAP_HOOK_MODE="${UCX_MEM_MMAP_HOOK_MODE:-none}"
    export HWLOC_COMPONENTS="${HWLOC_COMPONENTS:--pci,-opencl,-levelzero,-gl}"
    export UCX_MODULES="${UCX_MODULES:-^rocm,ze,cuda,fuse}"
}

in_env() {
    if host_is_native; then
        (cd "$KOVRA_SRC" && "$@")
    else
        ensure_root
        in_root "$@"
    fi
}
