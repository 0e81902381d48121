#!/bin/sh
# Builds the event fuzzer with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it for SECONDS (default 60).
#
#   scripts/fuzz.sh [SECONDS]
#
# The committed seeds in fuzz/corpus are read but never written: inputs the
# fuzzer finds go to the build directory's fuzz-corpus/, crashes to its
# fuzz-artifacts/. A crash input belongs in fuzz/regressions/ once fixed, where
# core_tests replays it. HEIKOSEN_FUZZ_BUILD_DIR overrides the build directory.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-60}"
build="${HEIKOSEN_FUZZ_BUILD_DIR:-build-fuzz-clang}"

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHEIKOSEN_FUZZ=ON -DHEIKOSEN_SANITIZE=ON -DBUILD_TESTING=OFF \
    -DHEIKOSEN_WERROR=ON >/dev/null
cmake --build "$build" --target form_fuzzer -j"$(nproc)"

mkdir -p "$build/fuzz-corpus" "$build/fuzz-artifacts"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec "$build/fuzz/form_fuzzer" -max_total_time="$seconds" -max_len=4096 \
    -artifact_prefix="$build/fuzz-artifacts/" -print_final_stats=1 \
    "$build/fuzz-corpus" fuzz/corpus
