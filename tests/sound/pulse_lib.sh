# Shell helpers for a private PulseAudio with a null sink, for the audio test and benchmark.
# Source this file, then:
#
#   pulse_init                 temp dir PULSE_TMP, private HOME and XDG_RUNTIME_DIR, cleanup trap
#                              (exits 77, a skip, where only pipewire-pulse serves sound);
#                              needs KAVENDRA_BIN (playcheck)
#   pulse_start                starts the server (PULSE_PID) with the null sink "kvtest"
#                              (16 kHz mono, the program's format) as the default sink
#   pulse_stop                 stops it
#   pulse_record_start REC     records the sink's monitor into REC.raw and REC.times, in pieces
#                              of PULSE_RECORD_MS (5 by default; 1 times a sound to within 1 ms)
#   pulse_record_stop          ends the recording
#   pulse_track PID            stops PID at exit
#
# Every process started here is stopped by its pid when the script exits. Processes are started
# with descriptor 3 closed, so a script may hold a pipe on it.

set -u
PULSE_PIDS=()
PULSE_PID=
PULSE_CHECK=${KAVENDRA_BIN:?}/playcheck

pulse_track() { PULSE_PIDS+=("$1"); }

pulse_cleanup()
{
    local pid
    for pid in "${PULSE_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${PULSE_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$PULSE_TMP"
    return 0
}

pulse_init()
{
    local tool
    # tools/deps.sh leaves pulseaudio out beside pipewire-pulse, so there is no private server then.
    if ! command -v pulseaudio >/dev/null &&
        dpkg-query -W -f='${Status}' pipewire-pulse 2>/dev/null | grep -q 'install ok installed'; then
        echo "SKIP: pipewire-pulse serves sound here, and the private PulseAudio server this" \
            "needs is not installed beside it"
        exit 77
    fi
    for tool in pulseaudio parec pactl; do
        command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (make deps)"; exit 1; }
    done
    PULSE_TMP=$(mktemp -d)
    trap pulse_cleanup EXIT
    export HOME="$PULSE_TMP/home" XDG_CONFIG_HOME="$PULSE_TMP/home/.config"
    export XDG_RUNTIME_DIR="$PULSE_TMP/run"
    mkdir -p "$HOME" "$XDG_CONFIG_HOME" && mkdir -m 0700 "$XDG_RUNTIME_DIR"
    unset PULSE_SERVER PULSE_SINK
}

pulse_start()
{
    pulseaudio 3>&- -n --exit-idle-time=-1 --disallow-exit \
        --log-target=file:"$PULSE_TMP/pulse.log" --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=kvtest rate=16000 channels=1 format=s16le" &
    PULSE_PID=$!
    pulse_track "$PULSE_PID"
    local try
    for try in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl info >/dev/null 2>&1 || { echo "FAIL: PulseAudio did not start"; cat "$PULSE_TMP/pulse.log"; exit 1; }
    pactl set-default-sink kvtest
}

pulse_stop()
{
    kill "$PULSE_PID" 2>/dev/null || true
    wait "$PULSE_PID" 2>/dev/null || true
}

pulse_record_start()
{
    rm -f "$1.fifo" && mkfifo "$1.fifo"
    "$PULSE_CHECK" record "$1" <"$1.fifo" 3>&- &
    PULSE_RECORDER=$!
    pulse_track "$PULSE_RECORDER"
    parec 3>&- --device=kvtest.monitor --rate=16000 --channels=1 --format=s16le \
        --latency-msec="${PULSE_RECORD_MS:-5}" --raw >"$1.fifo" &
    PULSE_PAREC=$!
    pulse_track "$PULSE_PAREC"
}

pulse_record_stop()
{
    kill "$PULSE_PAREC" 2>/dev/null || true
    wait "$PULSE_PAREC" 2>/dev/null || true
    wait "$PULSE_RECORDER"
}
