#!/usr/bin/env bash
# Runs every benchmark of a build: the bench_* executables in <builddir>/bin, then any bench/*.sh
# script, each given the build directory (and, like the tests, KAVENDRA_BIN and KAVENDRA_SOURCE).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
here="$(cd "$(dirname "$0")" && pwd)"
export KAVENDRA_BIN="$build/bin" KAVENDRA_SOURCE="$(dirname "$here")"
status=0
for exe in "$build"/bin/bench_*; do
    [ -x "$exe" ] || continue
    echo "== $(basename "$exe")"
    "$exe" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
        --benchmark_counters_tabular=true || status=1
done
for script in "$here"/*.sh; do
    [ "$(basename "$script")" = run.sh ] && continue
    echo "== $(basename "$script")"
    bash "$script" "$build" || status=1
done
exit $status
