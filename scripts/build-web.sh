#!/bin/sh
# Installs what is missing and builds the browser version into build-web/: the
# core compiled to WebAssembly with Debian's emscripten, the core's tests for
# Node, and the static site in build-web/site/, which any static web server can
# serve as it is.
#
#   ./scripts/build-web.sh
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

# Debian's emscripten runs its JavaScript tools with Node and needs Debian's
# JavaScript modules to be found.
NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
export NODE_PATH

build=build-web
# The tests of the core run under Node as it is installed: emcmake's own choice
# of Node options is refused by newer Node.
emcmake cmake -S . -B "$build" -DHEIKOSEN_QT=OFF -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DHEIKOSEN_WERROR=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" >/dev/null
cmake --build "$build" -j"$(nproc)"
echo "The site is in $build/site/"
