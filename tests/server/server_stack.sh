#!/bin/bash
# The song server as deployed: nginx and PHP-FPM from server/run.sh on a private port, storing in
# SQLite (argument sqlite) or in a private PostgreSQL (argument pgsql). Refused uploads, limits,
# escaping, nothing uploaded served or run, the schema step, and many concurrent clients with
# idle connections open, each upload stored once and read back byte-exact.
set -euo pipefail
database=${1:?sqlite or pgsql}
source "${KAVENDRA_SOURCE:?}/tests/server/server_lib.sh"
server_init
work=$SERVER_WORK

# A data folder as the server left it before the schema had versions, with one song in it.
old_data_folder() {
    mkdir -p "$KAVENDRA_SONG_DATA"
    php -r '$db = new PDO("sqlite:" . getenv("KAVENDRA_SONG_DATA") . "/songs.sqlite");
        $db->exec("CREATE TABLE songs (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT NOT NULL,
            artist TEXT NOT NULL, user TEXT NOT NULL, lyrics TEXT NOT NULL, file TEXT NOT NULL,
            uploaded_at TEXT NOT NULL, script BLOB NOT NULL, script_name TEXT NOT NULL,
            script_sha256 TEXT NOT NULL, copy_name TEXT, copy_size INTEGER, copy_sha256 TEXT)");
        $db->prepare("INSERT INTO songs VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, NULL, NULL)")
            ->execute(["Old song", "a", "u", "", "Old_song", "2020-01-01T00:00:00Z", "[song\n]\n",
                       "Old_song.kds", ""]);'
}

if [ "$database" = pgsql ]; then
    pg_start
else
    export KAVENDRA_SONG_DATA=$work/data
    old_data_folder
fi
server_start
base=$SERVER_URL

# The schema: a fresh database gets the latest version, an old data folder keeps its song.
[ "$(db_value 'SELECT max(version) FROM schema_version')" = 1 ] || server_fail "schema version"
if [ "$database" = sqlite ]; then
    [ "$(curl -s "$base/songs/download.php?id=1")" = $'[song\n]' ] || server_fail "old song lost"
    [ "$(db_value 'SELECT count(*) FROM songs')" = 1 ] || server_fail "old songs changed"
fi
stored=$(db_value 'SELECT count(*) FROM songs')

# upload <expected status> <expected answer (a grep pattern)> <curl form arguments...>
upload() {
    local expected=$1 pattern=$2 status
    shift 2
    status=$(curl -s -o "$work/answer" -w '%{http_code}' --max-time 20 "$@" "$base/songs/upload.php")
    [ "$status" = "$expected" ] || server_fail "expected $expected, got $status ($(head -c 200 "$work/answer")) for: $(echo "$*" | head -c 200)"
    grep -q -- "$pattern" "$work/answer" || server_fail "answer '$(head -c 200 "$work/answer")' lacks '$pattern'"
}

repeat() { head -c "$2" /dev/zero | tr '\0' "$1"; }
printf '[etc\n[bt_img_size,30]\n]\n[song\n[title,t]\n]\n' >"$work/song.kds"
printf 'just some text\n' >"$work/text.kds"
# A song script of exactly N bytes: script_of_size N FILE
script_of_size() {
    { printf '[song\n[lyrics,'; repeat a $(($1 - 18)); printf ']\n]\n'; } >"$2"
    [ "$(stat -c %s "$2")" = "$1" ] || server_fail "script_of_size"
}
script_of_size 1048576 "$work/largest.kds"
script_of_size 1048577 "$work/too-large.kds"
repeat a 65536 >"$work/lyrics-largest"
repeat a 65537 >"$work/lyrics-too-long"
name200=$(for _ in $(seq 200); do printf '\xc3\xa4'; done)
fields=(-F artist=a -F user=u -F file=t -F text=l)

# Refused uploads, each with its reason; none is stored.
upload 400 '^error: missing field title$' "${fields[@]}" -F "upfile=@$work/song.kds"
upload 400 '^error: empty field title$' "${fields[@]}" -F 'title=  ' -F "upfile=@$work/song.kds"
upload 400 '^error: bad field title$' "${fields[@]}" -F $'title=\xff' -F "upfile=@$work/song.kds"
upload 400 '^error: bad field title$' "${fields[@]}" -F "title=${name200}x" -F "upfile=@$work/song.kds"
upload 400 '^error: bad field text$' -F artist=a -F user=u -F title=t -F file=t \
    -F "text=<$work/lyrics-too-long" -F "upfile=@$work/song.kds"
upload 400 '^error: missing file upfile$' "${fields[@]}" -F title=t
upload 400 'not a song script' "${fields[@]}" -F title=t -F "upfile=@$work/text.kds"
upload 400 'larger than 1 MB' "${fields[@]}" -F title=t -F "upfile=@$work/too-large.kds"
head -c $((4 * 1024 * 1024)) /dev/zero >"$work/huge"
upload 413 '^error: upload is too large$' "${fields[@]}" -F title=t -F "upfile=@$work/huge"
[ "$(db_value 'SELECT count(*) FROM songs')" = "$stored" ] || server_fail "a refused upload was stored"
status=$(curl -s -o /dev/null -w '%{http_code}' "$base/songs/upload.php")
[ "$status" = 405 ] || server_fail "GET upload.php answered $status"

# The largest upload that is allowed: two files of 1 MiB, the longest lyrics, the longest title.
upload 200 '^ok [0-9]*$' -F artist=a -F user=u -F "title=$name200" -F file=big \
    -F "text=<$work/lyrics-largest" -F "upfile=@$work/largest.kds" -F "sifile=@$work/largest.kds"
big_id=$(cut -d' ' -f2 "$work/answer")
curl -s -o "$work/back" "$base/songs/download.php?id=$big_id"
cmp -s "$work/back" "$work/largest.kds" || server_fail "the largest song read back differently"

# Hostile texts are stored as typed and shown escaped; an uploaded script is never run.
printf '[song\n[title,<?php echo "ran"; ?>]\n[lyrics,<script>alert(1)</script>]\n]\n' >"$work/evil.kds"
upload 200 '^ok [0-9]*$' --form-string "artist=<b>Band</b> & Co" \
    --form-string "user=x'); DROP TABLE songs; --" --form-string 'title=Song "<i>1</i>"' \
    -F file=evil --form-string 'text=<script>alert(2)</script>' -F "upfile=@$work/evil.kds"
evil_id=$(cut -d' ' -f2 "$work/answer")
[ "$(db_value "SELECT \"user\" FROM songs WHERE id = $evil_id")" = "x'); DROP TABLE songs; --" ] ||
    server_fail "the user field was not stored as typed"
curl -s -D "$work/headers" -o "$work/list.html" "$base/songs/"
for text in '&lt;b&gt;Band&lt;/b&gt; &amp; Co' 'x&apos;); DROP TABLE songs; --' \
    'Song &quot;&lt;i&gt;1&lt;/i&gt;&quot;' '&lt;script&gt;alert(2)&lt;/script&gt;'; do
    grep -qF -- "$text" "$work/list.html" || server_fail "the list lacks the escaped $text"
done
! grep -q '<script>\|<b>\|<i>' "$work/list.html" || server_fail "the list shows markup as typed"
grep -qi "^content-security-policy: default-src 'none'" "$work/headers" || server_fail "no CSP"
curl -s -D "$work/headers" -o "$work/back" "$base/songs/download.php?id=$evil_id"
cmp -s "$work/back" "$work/evil.kds" || server_fail "the script was not sent as uploaded"
grep -qi '^content-type: application/octet-stream' "$work/headers" || server_fail "download type"
grep -qi '^content-disposition: attachment' "$work/headers" || server_fail "download disposition"
grep -qi '^x-content-type-options: nosniff' "$work/headers" || server_fail "download nosniff"
! grep -qi '^x-powered-by' "$work/headers" || server_fail "the PHP version is announced"
for query in id=0 id=x id=999999 "id=1%20OR%201=1"; do
    status=$(curl -s -o /dev/null -w '%{http_code}' "$base/songs/download.php?$query")
    [ "${status:0:1}" = 4 ] || server_fail "download.php?$query answered $status"
done

# Only the pages run: no stored, library or configuration file is served, under any spelling.
for path in /data/songs.sqlite /../data/songs.sqlite /songs/../../data/songs.sqlite \
    /lib/SongStore.php /../lib/SongStore.php /songs/upload.php/x.php /songs/index.php/ \
    /../state/php-fpm.conf /songs/.htaccess /songs/download.php.bak; do
    status=$(curl -s --path-as-is -o "$work/body" -w '%{http_code}' "$base$path")
    [ "$status" = 404 ] || [ "$status" = 400 ] || server_fail "$path answered $status"
    ! grep -q 'SQLite format\|<?php\|\[songs\]' "$work/body" || server_fail "$path leaked a file"
done

# Many clients at once while idle connections are held open; the list is then several pages.
python3 "$KAVENDRA_SOURCE/bench/server_load.py" --url "$base" --idle 1100 --clients 40 \
    --uploads 5 --time-limit 120 || server_fail "concurrent uploads"

# The PHP workers keep their database connections; a restarted PostgreSQL costs no upload.
if [ "$database" = pgsql ]; then
    pg_restart
    python3 "$KAVENDRA_SOURCE/bench/server_load.py" --url "$base" --idle 0 --clients 20 \
        --uploads 2 --time-limit 60 >/dev/null || server_fail "uploads after a database restart"
fi

# A schema newer than the server is refused, not written to.
db_value 'UPDATE schema_version SET version = 99' >/dev/null
status=$(curl -s -o "$work/answer" -w '%{http_code}' "$base/songs/")
[ "$status" = 500 ] || server_fail "a newer schema answered $status"
db_value 'UPDATE schema_version SET version = 1' >/dev/null
server_stop

# Where nginx is missing the built-in server serves the same songs.
if [ "$database" = sqlite ]; then
    server_start KAVENDRA_SERVER_STACK=builtin
    base=$SERVER_URL
    grep -q "built-in server" "$work/server.log" || server_fail "not the built-in server"
    upload 200 '^ok [0-9]*$' "${fields[@]}" -F title=t -F "upfile=@$work/song.kds"
    curl -s "$base/songs/?before=2" | grep -q 'Old song' || server_fail "the built-in server's list"
    server_stop
fi
echo "PASS: song server with $database"
