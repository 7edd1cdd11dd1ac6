#!/bin/bash
# Repaints every picture of the program into resources/img/ and its icon into
# resources/desktop/icons/ from the sources in tools/artwork/.
#   bash tools/make-artwork.sh [preview folder]
# The PNGs are committed, so building the program never needs this.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ARTWORK_BUILD:-$root/build-artwork}
bash "$root/tools/deps.sh" build artwork
cmake -S "$root/tools/artwork" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build"
# Painted off screen, so the result does not depend on a display.
export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
if [ $# -ge 1 ]; then
    "$build/artwork" "$root/resources/img" "$root/resources/desktop/icons" --preview "$1"
else
    "$build/artwork" "$root/resources/img" "$root/resources/desktop/icons"
fi
