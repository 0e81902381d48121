#!/bin/sh
# Installs what is missing, builds heikosen in release mode and makes the Debian
# package build-release/heikosen_<version>_<arch>.deb, which installs with
# `sudo apt install ./build-release/heikosen_*.deb`.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# Built with Debian's hardening flags, as Debian builds its own packages:
# fortified library calls, stack protection, read-only relocations bound at start.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags="$(dpkg-buildflags --get LDFLAGS)"
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build build-release --target heikosen -j"$(nproc)"
(cd build-release && cpack -G DEB)
ls -l build-release/heikosen_*.deb
