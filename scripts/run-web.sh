#!/bin/sh
# Builds the browser version and serves build-web/site/ at http://localhost:8080/
# (PORT overrides the port) with Python's built-in web server, until Ctrl+C.
#
#   ./scripts/run-web.sh
set -eu
cd "$(dirname "$0")/.."
./scripts/build-web.sh
port="${PORT:-8080}"
echo "heikosen: http://localhost:$port/"
exec python3 -m http.server --bind 127.0.0.1 --directory build-web/site "$port"
