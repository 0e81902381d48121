#!/bin/sh
# Installs what is missing, builds heikosen and runs every test headless:
# the style check, the whole suite in build/, then the whole suite again built
# with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/, and last
# the browser version in build-web/: the core's tests under Node and the tests
# of the site.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs="$(nproc)"

echo "== style"
find src tests bench fuzz web/bindings -name '*.cpp' -o -name '*.h' 2>/dev/null | sort |
    xargs clang-format --dry-run -Werror

echo "== build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHEIKOSEN_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

echo "== build and test with sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DHEIKOSEN_WERROR=ON -DHEIKOSEN_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Qt and fontconfig keep caches alive until exit, which the leak checker would
# report; leaks are checked on the core, where every allocation is ours.
(cd build-asan && ASAN_OPTIONS="detect_leaks=1" ctest --output-on-failure -j"$jobs" -R '^core\.')
(cd build-asan && ASAN_OPTIONS="detect_leaks=0" ctest --output-on-failure -j"$jobs" -E '^core\.')

echo "== build and test the browser version"
./scripts/build-web.sh
ctest --test-dir build-web --output-on-failure -j"$jobs"
echo "== all tests passed"
