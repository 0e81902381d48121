#!/bin/sh
# Runs the real-print test against a private CUPS scheduler, which is stopped
# again when the test ends, whether it passed or not.
set -u
test_program="$1"
here="$(cd "$(dirname "$0")" && pwd)"
sandbox="$(mktemp -d /tmp/heikosen-cups.XXXXXX)"

cleanup() {
    "$here/cups-sandbox.sh" stop "$sandbox"
    rm -rf "$sandbox"
}
trap cleanup EXIT INT TERM

server="$("$here/cups-sandbox.sh" start "$sandbox")" || exit 1
CUPS_SERVER="$server" HEIKOSEN_PRINT_OUT="$sandbox/out" QT_QPA_PLATFORM=offscreen "$test_program"
status=$?
if [ "$status" -ne 0 ]; then
    echo "--- scheduler log"
    cat "$sandbox/log/error_log" 2>/dev/null | tail -n 40
fi
exit "$status"
