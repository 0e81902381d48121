#!/bin/sh
# Installs what is missing, builds heikosen in build/ and starts it.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target heikosen -j"$(nproc)"
exec ./build/heikosen "$@"
