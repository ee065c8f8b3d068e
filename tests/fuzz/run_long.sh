#!/usr/bin/env bash
# Fuzzes one target for a long time:
#   tests/fuzz/run_long.sh <name> <runs> [extra libFuzzer options]
# builds fuzz_<name> in build-fuzz/ (KELVOR_FUZZ_BUILD_DIR to change) with
# clang, ASan and UBSan, then runs it from a copy of tests/fuzz/corpus/<name>
# for <runs> executions (-1: until stopped), in one process. New inputs
# stay in build-fuzz/corpus-<name>; a crash is saved as
# build-fuzz/crash-<name>-*: add it to the saved corpus once it is fixed.
# Merge worthwhile new inputs into the saved corpus with -merge=1 by hand,
# keeping it small.
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 <name> <runs> [libFuzzer options]" >&2; exit 2; }
name=$1; runs=$2; shift 2
here="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KELVOR_FUZZ_BUILD_DIR:-$here/build-fuzz}"
CXX=clang++-14 CC=clang-14 cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVOR_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target "fuzz_$name"
work="$build/corpus-$name"
mkdir -p "$work"
cp -n "$here/tests/fuzz/corpus/$name/"* "$work/" 2>/dev/null || true
export UBSAN_OPTIONS="suppressions=$here/tests/sanitizers/ubsan.supp:print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/sanitizers/lsan.supp"
cd "$build"
start=$(date +%s)
"$build/tests/fuzz/fuzz_$name" -runs="$runs" -artifact_prefix="$build/crash-$name-" \
    -print_final_stats=1 "$@" "$work"
echo "fuzz_$name: $runs runs asked, $(( $(date +%s) - start )) s"
