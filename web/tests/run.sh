#!/bin/sh
# Runs browser tests of the web build in Debian's headless Chromium against a
# built site:
#
#   web/tests/run.sh SITE_DIR [TEST_FILE ...]     (default: every *.test.mjs here)
#
# Installs web/'s npm packages first when they are not current. Exits 77 (a
# skip for ctest) when Chromium is not installed.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
site="$1"
shift

if [ ! -x /usr/bin/chromium ]; then
    echo "SKIP: Debian's chromium is not installed (/usr/bin/chromium); scripts/install-deps.sh installs it"
    exit 77
fi
"$here/../npm-ci.sh"

if [ "$#" -eq 0 ]; then
    set -- "$here"/*.test.mjs
fi
HEIKOSEN_SITE="$site" exec node --test "$@"
