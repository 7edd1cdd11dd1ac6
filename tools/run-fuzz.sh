#!/bin/bash
# Runs every libFuzzer target of a fuzz build for a number of seconds each (0: no time limit),
# each seeded from its own folder and with its own dictionary, as fuzzers.list names them.
# Usage: tools/run-fuzz.sh <build folder> <seconds> [extra libFuzzer options]
# FUZZ_ONLY=<target name> runs only that one. The growing corpus is kept beside each binary
# (<binary>.corpus), crashes in <binary>.artifacts. Fails if any target fails.
set -uo pipefail

build=${1:?usage: run-fuzz.sh <build folder> <seconds> [options]}
seconds=${2:-60}
shift 2 || shift $#
list=$build/fuzzers.list
# Songs with 1 MB of lyrics are real; the inputs may be as large.
max_len=1048576

[ -s "$list" ] || { echo "no fuzzers listed in $list" >&2; exit 1; }

# A small quarantine and short allocation stacks keep ASan fast enough for millions of runs.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=4}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
while IFS=$'\t' read -r binary seeds dict; do
    name=$(basename "$binary")
    [ -n "${FUZZ_ONLY:-}" ] && [ "$name" != "$FUZZ_ONLY" ] && continue
    corpus=$binary.corpus
    artifacts=$binary.artifacts
    mkdir -p "$corpus" "$artifacts"
    cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
    options=(-max_total_time="$seconds" -max_len=$max_len -timeout=10 -rss_limit_mb=2048
        -print_final_stats=1 -artifact_prefix="$artifacts/")
    [ "$dict" != - ] && options+=(-dict="$dict")
    echo "== $name"
    "$binary" "$corpus" "${options[@]}" "$@" || failed+=("$name")
done <"$list"

[ ${#failed[@]} = 0 ] || { echo "failed: ${failed[*]}" >&2; exit 1; }
