#!/usr/bin/env bash
# Installs the Debian packages that a task needs, and only the missing ones.
# Usage: tools/deps.sh GROUP...   (groups: build test bench server)
# Without apt, or without root and sudo, it names the missing packages and stops.
set -euo pipefail

declare -A groups=(
    # Building and running the program.
    [build]="cmake ninja-build g++ qt6-base-dev libpulse-dev qt6-qpa-plugins libgl-dev
             libvulkan-dev fonts-dejavu-core"
    # The test suite: a virtual display, a private sound server, the song server, sanitizers
    # and the fuzzer.
    [test]="clang libclang-rt-14-dev xvfb xauth xdotool x11-apps imagemagick pulseaudio
            pulseaudio-utils sox php-cli php-sqlite3 curl"
    # Benchmarks.
    [bench]="libbenchmark-dev libx11-dev xvfb xauth pulseaudio pulseaudio-utils sox"
    # The reference song server.
    [server]="php-cli php-sqlite3"
)

wanted=()
for group in "$@"; do
    [ -n "${groups[$group]+set}" ] || { echo "deps.sh: unknown group '$group'" >&2; exit 2; }
    read -r -a list <<<"$(echo ${groups[$group]})"
    wanted+=("${list[@]}")
done

missing=()
for package in $(printf '%s\n' "${wanted[@]}" | sort -u); do
    dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q 'install ok installed' ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if ! command -v apt-get >/dev/null 2>&1; then
    echo "These Debian packages are needed and apt-get is not available:" >&2
    echo "  ${missing[*]}" >&2
    exit 1
fi
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "These Debian packages are needed; install them as root (sudo is not available):" >&2
        echo "  apt-get install ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing missing packages: ${missing[*]}"
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
