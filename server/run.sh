#!/bin/bash
# Runs the reference song server with PHP's built-in web server.
#   KAVENDRA_SERVER_HOST  address to listen on (default 127.0.0.1)
#   KAVENDRA_SERVER_PORT  port (default 8080)
#   KAVENDRA_SONG_DATA    where uploaded songs are stored (default server/data)
# The program uploads to http://127.0.0.1:8080/songs/upload.php unless KAVENDRA_UPLOAD_URL says
# otherwise; the song list is at http://127.0.0.1:8080/songs/.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
host=${KAVENDRA_SERVER_HOST:-127.0.0.1}
port=${KAVENDRA_SERVER_PORT:-8080}
export KAVENDRA_SONG_DATA=${KAVENDRA_SONG_DATA:-$here/data}
mkdir -p "$KAVENDRA_SONG_DATA"
echo "Song server on http://$host:$port/songs/ storing in $KAVENDRA_SONG_DATA" >&2
exec php -S "$host:$port" -t "$here/public" \
    -d file_uploads=On -d upload_max_filesize=2M -d post_max_size=4M -d max_file_uploads=4 \
    -d display_errors=stderr -d log_errors=Off -d html_errors=Off -d expose_php=Off
