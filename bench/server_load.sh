#!/bin/bash
# The song server (nginx and PHP-FPM from server/run.sh) under load over loopback, with SQLite
# and with a private PostgreSQL: IDLE idle connections held open while CLIENTS clients upload
# UPLOADS songs each and another client keeps listing the songs (bench/server_load.py).
# Targets: every upload stored once and read back byte-exact, the list's 99th percentile under
# 50 ms during the load, normal answers once the idle connections have closed.
# Figures are only meaningful on an otherwise idle machine: the clients share its cores.
# Usage: bench/server_load.sh [BUILD_DIR] (the build is not needed)
set -u
here=$(cd "$(dirname "$0")" && pwd)
export KAVENDRA_SOURCE=$(dirname "$here")
IDLE=${IDLE:-2000}
CLIENTS=${CLIENTS:-200}
UPLOADS=${UPLOADS:-10}
source "$KAVENDRA_SOURCE/tests/server/server_lib.sh"

status=0
for database in sqlite pgsql; do
    (
        server_init
        [ "$database" = sqlite ] || pg_start
        server_start
        watch=(--watch "nginx=$(cat "$SERVER_STATE/nginx.pid")"
            --watch "php-fpm=$(cat "$SERVER_STATE/php-fpm.pid")")
        [ -z "$PG_PID" ] || watch+=(--watch "postgres=$PG_PID")
        python3 "$here/server_load.py" --url "$SERVER_URL" --idle "$IDLE" --clients "$CLIENTS" \
            --uploads "$UPLOADS" --list-p99-ms 50 --time-limit 240 "${watch[@]}" |
            sed "s/^/server_load $database: /"
        exit "${PIPESTATUS[0]}"
    ) || status=1
done
exit $status
