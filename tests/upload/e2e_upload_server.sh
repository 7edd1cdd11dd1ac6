#!/bin/bash
# The song upload against the reference song server: PHP's built-in server on a free loopback
# port with a fresh data directory, malformed uploads by curl, the real upload by upload_e2e.
set -euo pipefail
source_dir=${KAVENDRA_SOURCE:?}
bin_dir=${KAVENDRA_BIN:?}

work=$(mktemp -d)
php_pid=""
cleanup() {
    if [ -n "$php_pid" ]; then
        kill "$php_pid" 2>/dev/null || true
        wait "$php_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    echo "--- server log:" >&2
    tail -20 "$work/php.log" >&2 || true
    exit 1
}

export KAVENDRA_SONG_DATA=$work/data

free_port() {
    php -r '$s = stream_socket_server("tcp://127.0.0.1:0"); $n = stream_socket_get_name($s, false); echo substr($n, strrpos($n, ":") + 1);'
}

# The port may be taken between choosing and binding it: try a few.
for attempt in 1 2 3 4 5; do
    port=$(free_port)
    KAVENDRA_SERVER_PORT=$port bash "$source_dir/server/run.sh" >"$work/php.log" 2>&1 &
    php_pid=$!
    for _ in $(seq 50); do
        if curl -s -o /dev/null --max-time 1 "http://127.0.0.1:$port/songs/"; then
            break 2
        fi
        kill -0 "$php_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill "$php_pid" 2>/dev/null || true
    wait "$php_pid" 2>/dev/null || true
    php_pid=""
done
[ -n "$php_pid" ] || fail "the song server did not start"
base=http://127.0.0.1:$port

song_count() {
    php -r '$db = new PDO("sqlite:" . getenv("KAVENDRA_SONG_DATA") . "/songs.sqlite");
            echo $db->query("SELECT count(*) FROM songs")->fetchColumn();'
}

# upload <expected status> <curl form arguments...>
upload() {
    local expected=$1
    shift
    local status
    status=$(curl -s -o "$work/answer" -w '%{http_code}' --max-time 20 "$@" "$base/songs/upload.php")
    [ "$status" = "$expected" ] || fail "expected $expected, got $status ($(cat "$work/answer")) for: $*"
}

printf '[etc\n[bt_img_size,30]\n]\n[song\n[title,t]\n]\n' >"$work/song.kds"
printf 'just some text\n' >"$work/text.kds"
{ printf '[song\n[lyrics,'; head -c 1100000 /dev/zero | tr '\0' 'a'; printf ']\n]\n'; } >"$work/big.kds"
fields=(-F artist=a -F user=u -F title=t -F file=t -F text=l)

upload 400 -F artist=a -F user=u -F file=t -F text=l -F "upfile=@$work/song.kds"
grep -q '^error: missing field title$' "$work/answer" || fail "missing field: $(cat "$work/answer")"
upload 400 "${fields[@]}"
upload 400 "${fields[@]}" -F "upfile=@$work/text.kds"
grep -q 'not a song script' "$work/answer" || fail "not a script: $(cat "$work/answer")"
upload 400 "${fields[@]}" -F "upfile=@$work/big.kds"
grep -q 'larger than 1 MB' "$work/answer" || fail "too large: $(cat "$work/answer")"
upload 400 -F artist=a -F user=u -F 'title=  ' -F file=t -F text=l -F "upfile=@$work/song.kds"
[ "$(song_count)" = 0 ] || fail "a malformed upload was stored"
status=$(curl -s -o /dev/null -w '%{http_code}' "$base/songs/upload.php")
[ "$status" = 405 ] || fail "GET upload.php answered $status"

# The data directory is not served.
for path in /../data/songs.sqlite /data/songs.sqlite /songs/../../data/songs.sqlite /../lib/SongStore.php; do
    status=$(curl -s --path-as-is -o /dev/null -w '%{http_code}' "$base$path")
    [ "$status" = 404 ] || fail "$path answered $status"
done

# The real upload, through the program's own dialog.
mkdir -p "$work/home" "$work/config" "$work/tmp" "$work/runtime"
chmod 0700 "$work/runtime"
HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp \
    QT_QPA_PLATFORM=offscreen KAVENDRA_SERVER_URL=$base \
    KAVENDRA_UPLOAD_URL=$base/songs/upload.php \
    timeout -s KILL 120 "$bin_dir/upload_e2e" || fail "upload_e2e failed"
[ "$(song_count)" = 1 ] || fail "expected exactly one stored song"
echo "PASS: song upload against the reference server"
