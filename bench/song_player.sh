#!/usr/bin/env bash
# The song player at a private PulseAudio's null sink: a song of 200 entries (300 beats per
# minute, five sounds) played through the live output while the sink's monitor is recorded in
# 1 ms pieces; each entry's first sample found in the recording and compared with its scheduled
# time. Then the export of a 200-entry song, rendered and written as WAV (bench_export).
# Targets: every onset within 5 ms of its scheduled time (median and max); export under 0.5 s.
# Usage: bench/song_player.sh [BUILD_DIR] (default build)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export KAVENDRA_BIN=$(cd "${1:-$here/../build}" && pwd)/bin
ENTRIES=${ENTRIES:-200}
export PULSE_RECORD_MS=1
source "$here/../tests/sound/pulse_lib.sh"
pulse_init
pulse_start
status=0

dir="$PULSE_TMP/song" && mkdir -p "$dir"
pulse_record_start "$dir/rec"
"$KAVENDRA_BIN/song_probe" play "$dir" "$ENTRIES" >"$dir/plays.txt"
pulse_record_stop
"$PULSE_CHECK" onsets "$dir/rec" "$dir/plays.txt" || status=1
"$KAVENDRA_BIN/bench_export" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true \
    --benchmark_counters_tabular=true || status=1
exit $status
