#!/bin/sh
# Runs browser tests of the web build against a built site, in the engine that
# HEIKOSEN_ENGINE names (chromium, the default; firefox; webkit):
#
#   [HEIKOSEN_ENGINE=ENGINE] web/tests/run.sh SITE_DIR [TEST_FILE ...]
#
# (default: every *.test.mjs here). Installs web/'s npm packages first when
# they are not current. WebKit's MiniBrowser has no headless mode: it runs on a
# private Xvfb display. Exits 77 (a skip for ctest) when the engine or its
# driver is not installed.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
site="$1"
shift
engine="${HEIKOSEN_ENGINE:-chromium}"

need() {
    for program in "$@"; do
        if [ ! -x "$program" ]; then
            echo "SKIP: $program is not installed; scripts/install-deps.sh installs it"
            exit 77
        fi
    done
}
case "$engine" in
chromium) need /usr/bin/chromium ;;
firefox) need /usr/bin/firefox-esr ;;
webkit) need /usr/bin/WebKitWebDriver /usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser /usr/bin/xvfb-run ;;
*)
    echo "unknown engine $engine (chromium, firefox or webkit)" >&2
    exit 2
    ;;
esac
"$here/../npm-ci.sh"

if [ "$#" -eq 0 ]; then
    set -- "$here"/*.test.mjs
fi
export HEIKOSEN_SITE="$site" HEIKOSEN_ENGINE="$engine"
if [ "$engine" = webkit ]; then
    # With no window manager the keyboard's focus is where the X pointer
    # is, in the screen's middle: the pages' windows, at its top left, cover
    # it (larger windows than the screen lie beyond it).
    log="$(mktemp)"
    trap 'rm -f "$log"' EXIT
    for attempt in 1 2; do
        status=0
        xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" node --test "$@" >"$log" 2>&1 || status=$?
        cat "$log"
        # WebKit's web process now and then dies on its own as a page starts
        # (its graphics library failing to load a shader module): the tests
        # run once more then, and only then.
        if [ "$status" -eq 0 ] || [ "$attempt" -eq 2 ] ||
            ! grep -q -e 'fatal error' -e 'Could not parse script result' "$log"; then
            exit "$status"
        fi
        echo "# WebKit's web process crashed: running $* once more"
    done
fi
exec node --test "$@"
