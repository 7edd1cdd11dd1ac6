#!/bin/bash
# Runs a libFuzzer target for a number of seconds, seeded with the song script test files.
# Usage: tools/run-fuzz.sh <fuzzer binary> <seconds> [extra libFuzzer options]
# The growing corpus is kept beside the binary (<binary>.corpus); crashes land there as well.
set -euo pipefail

binary=${1:?usage: run-fuzz.sh <binary> <seconds>}
seconds=${2:-60}
shift 2 || shift $#
root=$(cd "$(dirname "$0")/.." && pwd)
seeds=$root/tests/script/data
corpus=$binary.corpus
artifacts=$binary.artifacts

[ -x "$binary" ] || { echo "no fuzzer at $binary" >&2; exit 1; }
mkdir -p "$corpus" "$artifacts"
cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true

# A small quarantine and short allocation stacks keep ASan fast enough for millions of runs.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:malloc_context_size=4}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Both syntaxes are read from every input; the dictionary holds the records' keys.
"$binary" "$corpus" -max_total_time="$seconds" -dict="$root/tests/script/songscript.dict" \
    -max_len=8192 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$@"
