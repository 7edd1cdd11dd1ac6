#!/bin/bash
# The song upload from the program's own dialog against the song server (server/run.sh: nginx
# and PHP-FPM with SQLite, a private port and a fresh data folder). The server's own checks are
# in tests/server.
set -euo pipefail
bin_dir=${KAVENDRA_BIN:?}
source "${KAVENDRA_SOURCE:?}/tests/server/server_lib.sh"
server_init
server_start
work=$SERVER_WORK

mkdir -p "$work/home" "$work/config" "$work/tmp" "$work/runtime"
chmod 0700 "$work/runtime"
HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime TMPDIR=$work/tmp \
    QT_QPA_PLATFORM=offscreen KAVENDRA_SERVER_URL=$SERVER_URL \
    KAVENDRA_UPLOAD_URL=$SERVER_URL/songs/upload.php \
    timeout -s KILL 120 "$bin_dir/upload_e2e" || server_fail "upload_e2e failed"
[ "$(db_value 'SELECT count(*) FROM songs')" = 1 ] || server_fail "expected exactly one stored song"
echo "PASS: song upload against the song server"
