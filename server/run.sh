#!/bin/bash
# Runs the reference song server: nginx in front of PHP-FPM (Debian's packages) as the calling
# user, from configuration generated into a state folder; nothing under /etc is touched. Where
# nginx or PHP-FPM is missing it runs PHP's built-in web server instead. Ctrl+C stops everything
# it started.
#   KAVENDRA_SERVER_HOST     address to listen on (default 127.0.0.1)
#   KAVENDRA_SERVER_PORT     port (default 8080)
#   KAVENDRA_SERVER_STATE    configuration, logs and sockets (default server/state)
#   KAVENDRA_SERVER_WORKERS  PHP workers for pages, and as many for uploads (default 8)
#   KAVENDRA_SERVER_STACK    "nginx" or "builtin" (default: nginx where installed)
#   KAVENDRA_SONG_DATA       folder of the default SQLite database (default server/data)
#   KAVENDRA_SONG_DSN        another database, e.g. pgsql:host=/run/postgresql;dbname=songs,
#                            with KAVENDRA_SONG_DB_USER and KAVENDRA_SONG_DB_PASSWORD
# The program uploads to http://127.0.0.1:8080/songs/upload.php unless KAVENDRA_UPLOAD_URL says
# otherwise; the song list is at http://127.0.0.1:8080/songs/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
host=${KAVENDRA_SERVER_HOST:-127.0.0.1}
port=${KAVENDRA_SERVER_PORT:-8080}
state=${KAVENDRA_SERVER_STATE:-$here/state}
workers=${KAVENDRA_SERVER_WORKERS:-8}
export KAVENDRA_SONG_DATA=${KAVENDRA_SONG_DATA:-$here/data}
export KAVENDRA_SONG_DSN=${KAVENDRA_SONG_DSN:-}
export KAVENDRA_SONG_DB_USER=${KAVENDRA_SONG_DB_USER:-}
export KAVENDRA_SONG_DB_PASSWORD=${KAVENDRA_SONG_DB_PASSWORD:-}
[ -n "$KAVENDRA_SONG_DSN" ] || mkdir -p "$KAVENDRA_SONG_DATA"

storage() {
    if [ -n "$KAVENDRA_SONG_DSN" ]; then
        echo "${KAVENDRA_SONG_DSN%%:*} database"
    else
        echo "$KAVENDRA_SONG_DATA"
    fi
}

find_program() {
    command -v "$1" 2>/dev/null || ls /usr/sbin/"$1"* 2>/dev/null | sort -V | tail -n 1
}

# Its workers outlive a signal to the first process: it runs as a process group of its own,
# which is stopped as a whole.
run_builtin() {
    echo "Song server (PHP's built-in server, $workers workers) on http://$host:$port/songs/" \
        "storing in $(storage)" >&2
    PHP_CLI_SERVER_WORKERS=$workers setsid php -S "$host:$port" -t "$here/public" \
        -d file_uploads=On -d upload_max_filesize=2M -d post_max_size=4M -d max_file_uploads=4 \
        -d display_errors=stderr -d log_errors=Off -d html_errors=Off -d expose_php=Off &
    local group=$!
    trap 'kill -TERM -- -$group 2>/dev/null; exit 130' INT
    trap 'kill -TERM -- -$group 2>/dev/null; exit 143' TERM
    trap 'kill -TERM -- -$group 2>/dev/null' EXIT
    local status=0
    wait "$group" || status=$?
    exit "$status"
}

# Prints a template with its @NAMES@ filled in: fill TEMPLATE NAME=VALUE...
fill() {
    local text
    text=$(<"$1")
    shift
    for pair in "$@"; do
        text=${text//"@${pair%%=*}@"/"${pair#*=}"}
    done
    printf '%s\n' "$text"
}

nginx_pid=""
fpm_pid=""
socket_dir=""
stop_stack() {
    trap - INT TERM EXIT
    for pid in $nginx_pid $fpm_pid; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in $nginx_pid $fpm_pid; do
        wait "$pid" 2>/dev/null || true
    done
    [ -z "$socket_dir" ] || rm -rf "$socket_dir"
}

run_stack() {
    local nginx=$1 fpm=$2
    mkdir -p "$state"/log "$state"/tmp/uploads
    state=$(cd "$state" && pwd)
    rm -f "$state"/nginx.pid "$state"/php-fpm.pid
    # A Unix socket's path has room for about 100 bytes.
    local sockets=$state
    if [ ${#sockets} -gt 80 ]; then
        socket_dir=$(mktemp -d /tmp/kavendra-server.XXXXXX)
        sockets=$socket_dir
    fi
    # Every open connection is a file descriptor, for nginx twice while PHP works on it.
    local nofile
    nofile=$(ulimit -Hn)
    if [ "$nofile" = unlimited ] || [ "$nofile" -gt 65536 ]; then
        nofile=65536
    fi
    ulimit -Sn "$nofile"
    local nginx_user="" fpm_flags=()
    if [ "$(id -u)" -eq 0 ]; then
        echo "Running as root: nginx and PHP-FPM run as root too; an ordinary account is better." >&2
        nginx_user="user root root;"
        fpm_flags=(--allow-to-run-as-root)
    fi
    fill "$here/conf/nginx.conf" STATE="$state" ROOT="$here" LISTEN="$host:$port" \
        SOCKETS="$sockets" NOFILE="$nofile" USER="$nginx_user" >"$state/nginx.conf"
    cp "$here/conf/fastcgi.conf" "$state/fastcgi.conf"
    {
        fill "$here/conf/php-fpm.conf" STATE="$state"
        fill "$here/conf/php-pool.conf" POOL=pages PRIORITY=0 STATE="$state" \
            SOCKETS="$sockets" WORKERS="$workers"
        fill "$here/conf/php-pool.conf" POOL=uploads PRIORITY=10 STATE="$state" \
            SOCKETS="$sockets" WORKERS="$workers"
    } >"$state/php-fpm.conf"

    trap 'stop_stack; exit 130' INT
    trap 'stop_stack; exit 143' TERM
    trap stop_stack EXIT
    "$fpm" --nodaemonize --fpm-config "$state/php-fpm.conf" "${fpm_flags[@]}" &
    fpm_pid=$!
    "$nginx" -p "$state" -c "$state/nginx.conf" -e "$state/log/nginx-error.log" &
    nginx_pid=$!
    # Each writes its pid file once it listens.
    for _ in $(seq 100); do
        [ -s "$state/nginx.pid" ] && [ -s "$state/php-fpm.pid" ] && break
        kill -0 "$nginx_pid" 2>/dev/null && kill -0 "$fpm_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ -s "$state/nginx.pid" ] && [ -s "$state/php-fpm.pid" ]; then
        echo "Song server (nginx, PHP-FPM with 2 x $workers workers) on http://$host:$port/songs/" \
            "storing in $(storage); logs in $state/log" >&2
    fi
    # Runs until either stops (or Ctrl+C); then the other is stopped too.
    local status=0
    wait -n "$nginx_pid" "$fpm_pid" || status=$?
    echo "Song server stopped (exit status $status); see $state/log" >&2
    tail -n 5 "$state"/log/nginx-error.log "$state"/log/php-fpm.log >&2 2>/dev/null || true
    exit "$status"
}

nginx=$(find_program nginx)
fpm=$(find_program php-fpm)
stack=${KAVENDRA_SERVER_STACK:-nginx}
if [ "$stack" = nginx ] && [ -n "$nginx" ] && [ -n "$fpm" ]; then
    run_stack "$nginx" "$fpm"
fi
[ "$stack" = builtin ] || echo "nginx or PHP-FPM is not installed: using PHP's built-in server." >&2
run_builtin
