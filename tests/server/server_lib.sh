# Shared by the server tests and the server benchmark (source it; needs KAVENDRA_SOURCE):
#   server_init                 a private work folder; everything started is stopped on exit
#   server_start [NAME=VALUE..] server/run.sh on a free loopback port with a fresh state folder,
#                               storing in $SERVER_WORK/data (or the database of pg_start);
#                               sets SERVER_URL, SERVER_STATE and SERVER_PID
#   server_stop                 stops it (by process id) and checks that nothing it ran is left
#   pg_start                    a private PostgreSQL (initdb into a fresh folder, a Unix socket
#                               only, as nobody when run as root); exports KAVENDRA_SONG_DSN,
#                               KAVENDRA_SONG_DB_USER and KAVENDRA_SONG_DB_PASSWORD; sets PG_PID
#   pg_restart                  stops that PostgreSQL and starts it again
#   db_value SQL                the first value SQL gives in the server's database (if any)
#   server_fail MESSAGE         reports the failure with the server's logs and exits

server_init() {
    SERVER_WORK=$(mktemp -d)
    SERVER_PID=""
    PG_PID=""
    PG_DIR=""
    trap server_cleanup EXIT
}

server_cleanup() {
    server_stop >/dev/null 2>&1 || true
    if [ -n "$PG_PID" ]; then
        kill -INT "$PG_PID" 2>/dev/null || true
        wait "$PG_PID" 2>/dev/null || true
        PG_PID=""
    fi
    rm -rf "$SERVER_WORK" ${PG_DIR:+"$PG_DIR"}
}

server_fail() {
    echo "FAIL: $*" >&2
    for log in "$SERVER_WORK"/server.log "$SERVER_WORK"/state/log/*.log ${PG_DIR:+"$PG_DIR/log"}; do
        [ -s "$log" ] || continue
        echo "--- $log:" >&2
        tail -n 20 "$log" >&2
    done
    exit 1
}

server_free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

server_start() {
    export KAVENDRA_SONG_DATA=$SERVER_WORK/data
    SERVER_STATE=$SERVER_WORK/state
    # The port may be taken between choosing and binding it: try a few.
    local port
    for _ in 1 2 3 4 5; do
        rm -rf "$SERVER_STATE"
        port=$(server_free_port)
        env "$@" KAVENDRA_SERVER_PORT="$port" KAVENDRA_SERVER_STATE="$SERVER_STATE" \
            bash "$KAVENDRA_SOURCE/server/run.sh" >"$SERVER_WORK/server.log" 2>&1 &
        SERVER_PID=$!
        SERVER_URL=http://127.0.0.1:$port
        # Up means the list page answers 200: nginx alone answers 502 until PHP-FPM listens.
        for _ in $(seq 100); do
            if curl -sf -o /dev/null --max-time 2 "$SERVER_URL/songs/"; then
                return 0
            fi
            kill -0 "$SERVER_PID" 2>/dev/null || break
            sleep 0.1
        done
        server_stop
    done
    server_fail "the song server did not start"
}

server_stop() {
    [ -n "$SERVER_PID" ] || return 0
    local run=$SERVER_PID pids left=""
    SERVER_PID=""
    pids=$(cat "$SERVER_STATE"/*.pid 2>/dev/null || true)
    kill "$run" 2>/dev/null || true
    for _ in $(seq 100); do
        left=""
        for pid in $pids; do
            kill -0 "$pid" 2>/dev/null && left="$left $pid"
        done
        [ -n "$left" ] || break
        sleep 0.1
    done
    if [ -n "$left" ]; then
        kill $left
        wait "$run" 2>/dev/null || true
        server_fail "process$left outlived the song server"
    fi
    wait "$run" 2>/dev/null || true
    ! curl -s -o /dev/null --max-time 2 "$SERVER_URL/songs/" || server_fail "still served after the stop"
}

pg_start() {
    PG_BIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
    [ -x "$PG_BIN/initdb" ] || server_fail "PostgreSQL is not installed"
    # In /tmp: its socket's path must be short, and its owner must reach it.
    PG_DIR=$(mktemp -d /tmp/kavendra-pg.XXXXXX)
    export KAVENDRA_SONG_DB_USER=kavendra
    export KAVENDRA_SONG_DB_PASSWORD="p'w;d $RANDOM"
    printf '%s\n' "$KAVENDRA_SONG_DB_PASSWORD" >"$PG_DIR/password"
    # PostgreSQL refuses to run as root.
    PG_OWNER=()
    if [ "$(id -u)" -eq 0 ]; then
        chown -R nobody:nogroup "$PG_DIR"
        PG_OWNER=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
    fi
    (cd / && exec "${PG_OWNER[@]}" "$PG_BIN/initdb" -D "$PG_DIR/data" -U "$KAVENDRA_SONG_DB_USER" \
        --pwfile="$PG_DIR/password" --auth=scram-sha-256 --no-locale -E UTF8 --no-instructions) \
        >"$PG_DIR/log" 2>&1 || server_fail "initdb failed"
    pg_run
    PGPASSWORD=$KAVENDRA_SONG_DB_PASSWORD "$PG_BIN/createdb" -h "$PG_DIR" -p 5432 \
        -U "$KAVENDRA_SONG_DB_USER" songs || server_fail "createdb failed"
    export KAVENDRA_SONG_DSN="pgsql:host=$PG_DIR;port=5432;dbname=songs"
}

# Starts postgres and waits until it takes connections.
pg_run() {
    # The subshell becomes postgres itself: $! is its process id.
    (cd / && exec "${PG_OWNER[@]}" "$PG_BIN/postgres" -D "$PG_DIR/data" -k "$PG_DIR" \
        -c listen_addresses= -c max_connections=200) >>"$PG_DIR/log" 2>&1 &
    PG_PID=$!
    for _ in $(seq 100); do
        "$PG_BIN/pg_isready" -q -h "$PG_DIR" -p 5432 && return 0
        kill -0 "$PG_PID" 2>/dev/null || break
        sleep 0.1
    done
    server_fail "PostgreSQL did not start"
}

pg_restart() {
    kill -INT "$PG_PID"
    wait "$PG_PID" || true
    pg_run
}

db_value() {
    php -r '$dsn = getenv("KAVENDRA_SONG_DSN") ?: "sqlite:" . getenv("KAVENDRA_SONG_DATA") . "/songs.sqlite";
            $db = new PDO($dsn, getenv("KAVENDRA_SONG_DB_USER") ?: null, getenv("KAVENDRA_SONG_DB_PASSWORD") ?: null);
            $result = $db->query($argv[1]);
            echo $result->columnCount() > 0 ? $result->fetchColumn() : "";' "$1"
}
