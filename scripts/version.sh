#!/bin/sh
# Prints heikosen's version, as CMakeLists.txt sets it in project(... VERSION x.y.z ...),
# for scripts that need it without configuring a build.
set -eu
cd "$(dirname "$0")/.."
version="$(tr '\n' ' ' <CMakeLists.txt |
    sed -n 's/.*project([[:space:]]*heikosen[[:space:]][^)]*VERSION[[:space:]]\{1,\}\([0-9][0-9.]*\).*/\1/p')"
if [ -z "$version" ]; then
    echo "version.sh: no project(heikosen VERSION ...) in CMakeLists.txt" >&2
    exit 1
fi
echo "$version"
