#!/usr/bin/env bash
# Starts a WebDAV server for the platform on this machine (Apache httpd on
# 127.0.0.1, the set-up of the platform tests) and keeps it in the
# foreground until Ctrl-C. The server keeps its files in /var/tmp/kovra-dav
# (KOVRA_DAV_DIR; inside the build root when the scripts use one).
#   bash scripts/dav-server.sh [port]      (default 8080, or KOVRA_DAV_PORT)
# Point Kovra at it with the printed KOVRA_PLATFORM_URL and netrc line.
set -euo pipefail
source "$(dirname "$0")/env.sh"

if [ "${1:-}" = "--inside" ]; then
    port="$2"
    dir="${KOVRA_DAV_DIR:-/var/tmp/kovra-dav}"
    mkdir -p "$dir"/{docroot,share,lock,run}
    if [ ! -s "$dir/password" ]; then
        head -c 12 /dev/urandom | base64 | tr -d '/+=' >"$dir/password"
        chmod 600 "$dir/password"
    fi
    password=$(cat "$dir/password")
    htpasswd -cb "$dir/htpasswd" alice "$password" 2>/dev/null
    user_lines=""
    if [ "$(id -u)" = 0 ]; then
        # Apache drops root for "nobody", who must reach and write the share.
        user_lines='User nobody\nGroup nogroup'
        chown nobody:nogroup "$dir/share" "$dir/lock"
        chmod 755 "$dir"
        chmod 644 "$dir/htpasswd"
    fi
    sed -e "s#@DIR@#$dir#g" -e "s#@PORT@#$port#g" -e "s#@USER@#$user_lines#" \
        tests/support/dav/httpd.conf.in >"$dir/httpd.conf"
    url="http://127.0.0.1:$port/remote.php/dav/files/alice/"
    cat <<INFO
WebDAV platform at $url
Files in $dir/share
Add this line to ~/.netrc (or to the file KOVRA_NETRC names), readable only by you:
    machine 127.0.0.1 login alice password $password
Then start Kovra with
    KOVRA_PLATFORM_URL=$url
Stop the server with Ctrl-C.
INFO
    exec apache2 -f "$dir/httpd.conf" -DFOREGROUND
fi

if host_is_native; then
    bash scripts/dav-server.sh --inside "${1:-${KOVRA_DAV_PORT:-8080}}"
else
    ensure_root
    # in_root passes a fixed environment; the folder and port go as arguments.
    in_root env KOVRA_DAV_DIR="${KOVRA_DAV_DIR:-}" bash scripts/dav-server.sh --inside "${1:-${KOVRA_DAV_PORT:-8080}}"
fi
