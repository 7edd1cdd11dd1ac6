#!/bin/bash
# Start-up of the real program under Xvfb: time from process start to the main window being
# mapped (median of RUNS starts), the CPU time spent until then, and resident memory once the
# splash has closed. The wall-clock figure is only meaningful on an otherwise idle machine.
# Usage: bench/startup.sh [BUILD_DIR] (default build)
set -u
here=$(cd "$(dirname "$0")" && pwd)
export KAVENDRA_BIN=$(cd "${1:-$here/../build}" && pwd)/bin
RUNS=${RUNS:-11}
SETTLE_MS=2500 # the splash has closed and the first paint is done
source "$here/../tests/app/e2e_lib.sh"

e2e_init
e2e_start_xvfb

times=()
cpu=()
rss=()
for ((run = 0; run < RUNS; run++)); do
    rm -rf "$E2E_HOME"/config/* "$E2E_HOME"/cache/*
    result=$(e2e_env env QT_QPA_PLATFORM=xcb "$KAVENDRA_BIN/startup_probe" Kavendra "$SETTLE_MS" \
        "$KAVENDRA_BIN/kavendra" 2>"$E2E_TMP/app.log") || e2e_fail "start-up run $run failed"
    read -r ms cpu_ms mb <<<"$result"
    times+=("$ms")
    cpu+=("$cpu_ms")
    rss+=("$mb")
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
maximum() { printf '%s\n' "$@" | sort -n | tail -n 1; }
echo "startup_to_window_mapped_ms: median $(median "${times[@]}") max $(maximum "${times[@]}")" \
    "(target <= 300 ms median; runs: ${times[*]})"
echo "startup_cpu_time_to_window_ms: median $(median "${cpu[@]}") max $(maximum "${cpu[@]}")"
echo "resident_memory_after_startup_mb: median $(median "${rss[@]}") max $(maximum "${rss[@]}")" \
    "(target <= 60 MB)"
