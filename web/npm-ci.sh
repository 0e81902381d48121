#!/bin/sh
# Installs the npm packages of web/ (puppeteer-core, pinned by package-lock.json)
# into web/node_modules with `npm ci`, unless they are already the ones the lock
# file names: then nothing is fetched, so the browser tests and the benchmarks
# also run without a network. Safe to run from several processes at once.
set -eu
cd "$(dirname "$0")"
stamp=node_modules/.heikosen-lock

current() {
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(sha256sum package-lock.json | cut -d' ' -f1)" ]
}

if current; then
    exit 0
fi
if ! command -v npm >/dev/null 2>&1; then
    echo "npm is not installed: run scripts/install-deps.sh" >&2
    exit 1
fi
exec 9>.npm-ci.lock
flock 9
if ! current; then
    npm ci --no-audit --no-fund --prefer-offline --loglevel=error
    sha256sum package-lock.json | cut -d' ' -f1 >"$stamp"
fi
