#!/usr/bin/env bash
# Installs the Debian packages that a task needs, and only the missing ones.
# Usage: tools/deps.sh GROUP...   (groups: build test bench server package artwork)
# Without apt, or without root and sudo, it names the missing packages and stops.
# It never adds a sound server to a machine that has one (see below).
set -euo pipefail

declare -A groups=(
    # Building and running the program.
    [build]="cmake ninja-build g++ qt6-base-dev libpulse-dev qt6-qpa-plugins libgl-dev
             libvulkan-dev fonts-dejavu-core"
    # The test suite: a virtual display (and its keyboard layouts), a private sound server, the
    # song server with a private PostgreSQL and its load client, sanitizers, the fuzzer and the
    # validators of the installed desktop files and the package.
    [test]="clang libclang-rt-14-dev xvfb xauth xdotool x11-apps x11-xkb-utils imagemagick
            pulseaudio pulseaudio-utils sox php-cli php-sqlite3 php-pgsql php-fpm nginx postgresql
            python3 curl desktop-file-utils appstream libxml2-utils shared-mime-info lintian"
    # Benchmarks, the song server's load among them.
    [bench]="libbenchmark-dev libx11-dev xvfb xauth pulseaudio pulseaudio-utils sox php-cli
             php-sqlite3 php-pgsql php-fpm nginx postgresql python3 curl"
    # The reference song server: nginx and PHP-FPM, SQLite or PostgreSQL.
    [server]="php-cli php-sqlite3 php-pgsql php-fpm nginx"
    # The Debian package: dependencies found from the binaries.
    [package]="dpkg-dev file"
    # The artwork tool (tools/make-artwork.sh), which also writes the icon as SVG.
    [artwork]="qt6-svg-dev"
)

installed() {
    dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q 'install ok installed'
}

wanted=()
for group in "$@"; do
    [ -n "${groups[$group]+set}" ] || { echo "deps.sh: unknown group '$group'" >&2; exit 2; }
    read -r -a list <<<"$(echo ${groups[$group]})"
    wanted+=("${list[@]}")
done

# The tests run their own private PulseAudio. On a PipeWire desktop the pulseaudio package would
# bring a second server that competes with pipewire-pulse for the user's sound (Debian 12 lets
# both be installed), so it stays out there; the audio tests then skip and say why.
missing=()
for package in $(printf '%s\n' "${wanted[@]}" | sort -u); do
    installed "$package" && continue
    if [ "$package" = pulseaudio ] && installed pipewire-pulse; then
        echo "deps.sh: pipewire-pulse serves sound here; pulseaudio is not installed beside it" \
            "(the audio tests will skip)." >&2
        continue
    fi
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Names the missing packages and stops.
need() {
    echo "$1" >&2
    echo "  apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
}
command -v apt-get >/dev/null 2>&1 ||
    need "These Debian packages are needed and apt-get is not available:"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 ||
        need "These Debian packages are needed; install them as root (sudo is not available):"
    # Without a terminal, sudo has nobody to ask for a password.
    sudo -n true 2>/dev/null || [ -t 0 ] ||
        need "These Debian packages are needed; sudo wants a password and there is no terminal:"
    sudo=(sudo)
fi
echo "Installing missing packages: ${missing[*]}"
{ "${sudo[@]}" apt-get update &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${missing[@]}"; } || need "Installing failed; these Debian packages are needed:"
