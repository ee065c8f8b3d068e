#!/usr/bin/env bash
# Fuzzes one target for a long time:
#   tests/fuzz/run_long.sh <name> <runs> [extra libFuzzer options]
# builds fuzz_<name> in build-asan/, the checked build of kelvor.sh test
# (KELVOR_FUZZ_BUILD_DIR to change), with
# clang, ASan and UBSan, then runs it from a copy of tests/fuzz/corpus/<name>
# for <runs> executions (-1: until stopped), in one process. New inputs
# stay in build-asan/corpus-<name>; a crash is saved as
# build-asan/crash-<name>-*: add it to the saved corpus once it is fixed.
# Merge worthwhile new inputs into the saved corpus with -merge=1 by hand,
# keeping it small (tests/fuzz/big_seeds.py writes its few large seeds).
# Inputs grow up to the size the game reads of the target's files (each
# target sets its -max_len so, FuzzLength.h; KELVOR_FUZZ_MAX_LEN to change),
# so the large seeds are fuzzed whole and may grow past them. At the end it
# prints the executions per second, so that a slow path shows.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 <name> <runs> [libFuzzer options]" >&2; exit 2; }
name=$1; runs=$2; shift 2
here="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KELVOR_FUZZ_BUILD_DIR:-$here/build-asan}"
CXX=clang++-14 CC=clang-14 cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVOR_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "fuzz_$name"
work="$build/corpus-$name"
mkdir -p "$work"
cp -n "$here/tests/fuzz/corpus/$name/"* "$work/" 2>/dev/null || true
export UBSAN_OPTIONS="suppressions=$here/tests/sanitizers/ubsan.supp:print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/sanitizers/lsan.supp"
cd "$build"
max_len=()
[ -z "${KELVOR_FUZZ_MAX_LEN:-}" ] || max_len=(-max_len="$KELVOR_FUZZ_MAX_LEN")
log="$build/fuzz-$name.log"
start=$(date +%s)
status=0
"$build/tests/fuzz/fuzz_$name" -runs="$runs" "${max_len[@]}" -artifact_prefix="$build/crash-$name-" \
    -print_final_stats=1 "$@" "$work" 2>&1 | tee "$log" || status=$?
done_runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
echo "fuzz_$name: ${done_runs:-?} runs of $runs asked in $(( $(date +%s) - start )) s," \
     "${rate:-?} exec/s, inputs up to ${KELVOR_FUZZ_MAX_LEN:-the size the game reads, in} bytes"
exit "$status"
