#!/bin/sh
# Installs what is missing, builds the benchmarks in Release (build-bench/), runs
# them and prints one table: each measurement against its floor from the same
# run, the ratio, the budget, and PASS or MISS. Exits non-zero when a budget is
# missed. Start-up, and dragging p from the pointer move to the window's changed
# pixels, are measured under an Xvfb server of their own. The site of the
# browser build (scripts/build-web.sh) is measured in headless Chromium by
# web/bench/bench.mjs: its size, its start-up and its pointer moves. How each
# row is measured, and why against its floor: bench/README.md.
#
#   ./scripts/bench.sh
#
# STARTUP_RUNS (default 15) sets how many launches of each program are timed;
# SITE_RUNS (default 41) how many loads of the site and of its page without its
# program (the browser times a frame in steps of 4 ms, a twentieth of the page's
# start-up, so its medians need more loads to settle); DRAG_ROUNDS (default 25)
# how many rounds of 20 moves are dragged in each window.
set -eu
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

build=build-bench
out="$build/bench-results"
runs="${STARTUP_RUNS:-15}"
siteRuns="${SITE_RUNS:-41}"
rounds="${DRAG_ROUNDS:-25}"

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DHEIKOSEN_BUILD_BENCH=ON \
    -DBUILD_TESTING=OFF -DHEIKOSEN_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target heikosen core_bench canvas_bench floor_window \
    startup_bench drag_floor drag_bench bench_report
mkdir -p "$out"

common="--benchmark_repetitions=5 --benchmark_report_aggregates_only=true"

echo "== the form's handling of a move" >&2
# shellcheck disable=SC2086
"$build/bench/core_bench" $common --benchmark_out="$out/core.json" --benchmark_out_format=json >&2

echo "== the canvas at 1x and 2x (offscreen)" >&2
# shellcheck disable=SC2086
"$build/bench/canvas_bench" --dpr=1 $common --benchmark_out="$out/canvas1.json" \
    --benchmark_out_format=json >&2
# shellcheck disable=SC2086
"$build/bench/canvas_bench" --dpr=2 $common --benchmark_filter='FullRepaint|WhiteFill|PlainCopy|DragP' \
    --benchmark_out="$out/canvas2.json" --benchmark_out_format=json >&2

echo "== start-up under Xvfb ($runs runs each)" >&2
displayfile="$(mktemp)"
# Wide enough for the three windows that the drag stands side by side.
Xvfb -displayfd 3 -screen 0 2720x1024x24 -nolisten tcp -noreset 3>"$displayfile" 2>/dev/null &
xvfb=$!
runtime=""
trap 'kill "$xvfb" 2>/dev/null || true; rm -rf "$displayfile" $runtime' EXIT INT TERM
tries=0
while [ ! -s "$displayfile" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$xvfb" 2>/dev/null; then
        echo "Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.1
done
# A private runtime directory, and no session bus: without one the D-Bus library
# would try to launch a bus for every program started.
runtime="$(mktemp -d)"
display=":$(head -n1 "$displayfile")"
export DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/no-bus"
"$build/bench/startup_bench" --runs="$runs" --memory-runs=5 --out="$out/startup.json" \
    heikosen="$build/heikosen" floor="$build/bench/floor_window"

echo "== dragging p under Xvfb ($rounds rounds of 20 moves)" >&2
"$build/bench/drag_bench" --program="$build/heikosen" --floor="$build/bench/drag_floor" \
    --rounds="$rounds" --moves=20 --out="$out/drag.json"
kill "$xvfb" 2>/dev/null || true
unset DISPLAY QT_QPA_PLATFORM XDG_RUNTIME_DIR DBUS_SESSION_BUS_ADDRESS

echo "== the site in headless Chromium ($siteRuns page loads each)" >&2
./scripts/build-web.sh >&2
./web/npm-ci.sh >&2
node web/bench/bench.mjs --site=build-web/site --out="$out/web.json" --runs="$siteRuns" --moves=600

echo
"$build/bench/bench_report" --core="$out/core.json" --canvas="$out/canvas1.json" \
    --canvas="$out/canvas2.json" --startup="$out/startup.json" --drag="$out/drag.json" \
    --web="$out/web.json"
