#!/bin/sh
# Runs N random user events (default 1,000,000) through the window in
# sequences of 1,000, starting from seed SEED (default 1), with every invariant
# checked after every event. A failure prints the seed and the shortest
# failing sequence as C++.
#
#   scripts/random-events.sh [N] [SEED]
#
# HEIKOSEN_BUILD_DIR overrides the build directory (default build/).
set -eu
cd "$(dirname "$0")/.."
build="${HEIKOSEN_BUILD_DIR:-build}"

cmake -S . -B "$build" -DHEIKOSEN_WERROR=ON >/dev/null
cmake --build "$build" --target core_tests -j"$(nproc)"
export HEIKOSEN_RANDOM_EVENTS="${1:-1000000}"
export HEIKOSEN_RANDOM_SEED="${2:-1}"
exec "$build/tests/core_tests" --gtest_filter='RandomSequence.EveryInvariantHoldsAfterEveryEvent'
