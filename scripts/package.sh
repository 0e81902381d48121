#!/bin/sh
# Installs what is missing, builds heikosen in release mode and makes the Debian
# package build-release/heikosen_<version>_<arch>.deb, which installs with
# `sudo apt install ./build-release/heikosen_*.deb`.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-release --target heikosen -j"$(nproc)"
(cd build-release && cpack -G DEB)
ls -l build-release/heikosen_*.deb
