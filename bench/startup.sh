#!/bin/bash
# Start-up of the real program under Xvfb: time from process start to the main window being
# mapped (median of RUNS starts), the CPU time spent until then, and resident memory once the
# splash has closed. The wall-clock figure is only meaningful on an otherwise idle machine.
# Usage: bench/startup.sh [BUILD_DIR] (default build)
set -u
here=$(cd "$(dirname "$0")" && pwd)
export KAVENDRA_BIN=$(cd "${1:-$here/../build}" && pwd)/bin
RUNS=${RUNS:-11}
source "$here/../tests/app/e2e_lib.sh"

e2e_init
e2e_start_xvfb

now_us() { echo $(($(date +%s%N) / 1000)); }

times=()
cpu=()
rss=()
for ((run = 0; run < RUNS; run++)); do
    rm -rf "$E2E_HOME"/config/* "$E2E_HOME"/cache/*
    start=$(now_us)
    e2e_start_app
    until xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name '^Kavendra$' >/dev/null 2>&1; do
        kill -0 "$E2E_APP_PID" 2>/dev/null || e2e_fail "the program ended during start-up"
        (($(now_us) - start > 10000000)) && e2e_fail "no window after 10 s"
        sleep 0.01
    done
    times+=($((($(now_us) - start) / 1000)))
    # CPU time of the process so far (all threads), which depends less on other load.
    cpu+=($(awk -v hz="$(getconf CLK_TCK)" '{ print int(($14 + $15) * 1000 / hz) }' \
        "/proc/$E2E_APP_PID/stat"))
    sleep 2.5 # splash closed, first paint done
    rss+=($(awk '/^VmRSS:/ { print int($2 / 1024) }' "/proc/$E2E_APP_PID/status"))
    kill "$E2E_APP_PID" && wait "$E2E_APP_PID" 2>/dev/null
    unset 'E2E_PIDS[${#E2E_PIDS[@]}-1]'
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
maximum() { printf '%s\n' "$@" | sort -n | tail -n 1; }
echo "startup_to_window_mapped_ms: median $(median "${times[@]}") max $(maximum "${times[@]}")" \
    "(target <= 300 ms median; runs: ${times[*]})"
echo "startup_cpu_time_to_window_ms: median $(median "${cpu[@]}") max $(maximum "${cpu[@]}")"
echo "resident_memory_after_startup_mb: median $(median "${rss[@]}") max $(maximum "${rss[@]}")" \
    "(target <= 60 MB)"
