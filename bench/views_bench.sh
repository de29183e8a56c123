#!/usr/bin/env bash
# Times the list views' sorts, the event pattern merge and filter runs with a
# filter list on logs of a million events (written by logs_gen), through
# views_bench. See README.md (Performance).
#
#   bench/views_bench.sh [FOLDER]
#
# FOLDER receives the generated logs (kept for later runs); without it a
# temporary folder is used and removed afterwards. BUILD_DIR (default: build)
# holds the built programs; EVENTS (default 1000000) sizes both logs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin=${BUILD_DIR:-$root/build}/bin
events=${EVENTS:-1000000}

source "$root/bench/bench_logs.sh"
require_programs "$bin" logs_gen views_bench
prepare_logs "$bin" "$events" "$events" "${@:1:1}"

# CPU time is the figure to read on a shared machine; real time follows the load.
QV_BENCH_TRAFFIC_LOG=$traffic QV_BENCH_PACKET_LOG=$packets "$bin/views_bench" "${@:2}"
