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

for program in logs_gen views_bench; do
  [ -x "$bin/$program" ] || { echo "missing $bin/$program: build first (see README.md)" >&2; exit 1; }
done

if [ $# -ge 1 ]; then
  folder=$1
  mkdir -p "$folder"
else
  folder=$(mktemp -d)
  trap 'rm -rf "$folder"' EXIT
fi
traffic=$folder/tralog.log
packets=$folder/rawlog.log
if [ ! -s "$traffic" ] || [ ! -s "$packets" ] || [ "$(cat "$folder/sizes" 2>/dev/null)" != "$events $events" ]; then
  echo "Generating $events events and $events packets in $folder"
  "$bin/logs_gen" --events "$events" --frames "$events" --traffic "$traffic" --packets "$packets"
  echo "$events $events" >"$folder/sizes"
fi

# CPU time is the figure to read on a shared machine; real time follows the load.
QV_BENCH_TRAFFIC_LOG=$traffic QV_BENCH_PACKET_LOG=$packets "$bin/views_bench" "${@:2}"
