#!/usr/bin/env bash
# Audio end to end: a private PulseAudio with a null sink; two different sounds rendered one after
# the other to the same path and played through WavePlayer; the sink's monitor recorded with
# parec; each recording must match its own file from the first to the last sample, and start
# within a short delay after play. Then the player leaves cleanly, again and again; and with no
# audio server it is silent, quiet and does not hang.
set -euo pipefail
bin="${KAVENDRA_BIN:?}"
check="$bin/playcheck"
# tools/deps.sh leaves pulseaudio out beside pipewire-pulse, so there is no private server then.
if ! command -v pulseaudio >/dev/null &&
    dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q 'install ok installed'; then
    echo "SKIP: pipewire-pulse serves sound here, and the private PulseAudio server this test" \
        "needs is not installed beside it"
    exit 77
fi
for tool in pulseaudio parec pactl; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (make deps)"; exit 1; }
done

tmp="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT

export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_RUNTIME_DIR="$tmp/run"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"
unset PULSE_SERVER PULSE_SINK

pulseaudio -n --exit-idle-time=-1 --disallow-exit --log-target=file:"$tmp/pulse.log" \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=kvtest rate=16000 channels=1 format=s16le" &
pids+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null || { echo "FAIL: PulseAudio did not start"; cat "$tmp/pulse.log"; exit 1; }
pactl set-default-sink kvtest

# One pass: record the monitor while the player plays, then check the recording.
play_and_check() {
    local dir="$tmp/pass$1"
    mkdir -p "$dir/sounds" && mkfifo "$dir/rec.fifo"
    "$check" record "$dir/rec.raw" "$dir/rec.times" <"$dir/rec.fifo" &
    local recorder=$!
    pids+=($recorder)
    parec --device=kvtest.monitor --rate=16000 --channels=1 --format=s16le --latency-msec=5 \
        --raw >"$dir/rec.fifo" &
    local parec_pid=$!
    pids+=($parec_pid)
    local played=0
    timeout 60 "$check" play "$dir/sounds" >"$dir/plays.txt" 2>"${PLAYLOG:-/dev/stderr}" ||
        played=$?
    kill "$parec_pid"
    wait "$recorder"
    [ "$played" = 0 ] || { echo "the player ended with code $played"; return 1; }
    "$check" check "$dir/sounds" "$dir/rec.raw" "$dir/rec.times" "$dir/plays.txt"
}

# A wrong, stale or unreplaced sound fails every pass. A machine that stalls the player's
# thread for longer than its queue (a shared test runner can) drops out once in a while, so a
# pass that is not clean is printed and tried again.
passes=3
for pass in $(seq "$passes"); do
    play_and_check "$pass" && break
    [ "$pass" -lt "$passes" ] || { echo "FAIL: no clean pass in $passes"; exit 1; }
    echo "pass $pass was not clean; again"
done
sounds="$tmp/pass$pass/sounds"

# Leaving with the output open: every run exits cleanly (the audio backend's own exit handler
# races its thread and used to crash a few runs in a hundred).
exit_runs=30
for run in $(seq "$exit_runs"); do
    QT_LOGGING_RULES= "$check" quiet "$sounds/a.wav" >"$tmp/exit.out" 2>&1 ||
        { echo "FAIL: run $run of the player ended with code $?:"; cat "$tmp/exit.out"; exit 1; }
done
echo "the player left cleanly $exit_runs times with the output open"

# No audio server: nothing is played, nothing is printed, and the player returns at once.
kill "${pids[0]}" && wait "${pids[0]}" 2>/dev/null || true
quiet_dir="$tmp/noaudio" && mkdir -m 0700 "$quiet_dir"
start=$(date +%s%N)
QT_LOGGING_RULES= XDG_RUNTIME_DIR="$quiet_dir" timeout 20 "$check" quiet "$sounds/a.wav" >"$tmp/quiet.out" 2>&1
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
if [ -s "$tmp/quiet.out" ]; then
    echo "FAIL: player printed without an audio server:"; cat "$tmp/quiet.out"; exit 1
fi
echo "no audio server: silent, returned after ${elapsed_ms} ms"
[ "$elapsed_ms" -lt 5000 ] || { echo "FAIL: player hung without an audio server"; exit 1; }
echo "PASS"
