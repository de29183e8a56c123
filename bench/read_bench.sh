#!/usr/bin/env bash
# Reads a large traffic log and a large packet log with qvlog and compares the
# time with `wc -l` on the same file and the peak resident memory with the
# file's size. See bench/README.md.
#
#   bench/read_bench.sh [FOLDER]
#
# FOLDER receives the generated logs (kept there for later runs); without it a
# temporary folder is used and removed afterwards. BUILD_DIR (default: build)
# holds the built programs; EVENTS and FRAMES (default 1000000) size the logs;
# RUNS (default 3) is how many times each command runs (the fastest counts).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bin=$build/bin
events=${EVENTS:-1000000}
frames=${FRAMES:-1000000}
runs=${RUNS:-3}

source "$root/bench/bench_logs.sh"
require_programs "$bin" logs_gen qvlog
[ -x /usr/bin/time ] || { echo "missing /usr/bin/time (Debian package: time)" >&2; exit 1; }

prepare_logs "$bin" "$events" "$frames" "${@:1:1}"

# Runs a command $runs times; prints "elapsed cpu peak-KB" of the fastest run
# (cpu = user + system seconds, which other load on the machine inflates less).
measure() {
  local best="" line out
  out=$(mktemp)
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%e %U %S %M" -o "$out" "$@" >/dev/null 2>&1
    line=$(awk '{ printf "%s %.2f %s", $1, $2 + $3, $4 }' "$out")
    if [ -z "$best" ] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best=$line
    fi
  done
  rm -f "$out"
  echo "$best"
}

printf '%-48s %8s %6s %8s %6s %9s %6s\n' "command" "elapsed" "x wc" "cpu" "x wc" "peak MiB" "x file"
row() {
  local label=$1 file=$2 baseline=$3 baselineCpu=$4
  shift 4
  local elapsed cpu rss
  read -r elapsed cpu rss <<<"$(measure "$@")"
  awk -v l="$label" -v e="$elapsed" -v c="$cpu" -v b="$baseline" -v bc="$baselineCpu" -v r="$rss" \
    -v f="$(stat -c %s "$file")" 'BEGIN {
      printf "%-48s %8.2f %6.1f %8.2f %6.1f %9.0f %6.2f\n", l, e, (b > 0 ? e / b : 0), c, (bc > 0 ? c / bc : 0),
        r / 1024, r * 1024 / f }'
}

for file in "$traffic" "$packets" "$small_packets"; do
  if [ "$file" = "$traffic" ]; then log=traffic; else log=packets; fi
  read -r baseline baselineCpu _ <<<"$(measure wc -l "$file")"
  printf '%-48s %8.2f %6.1f %8.2f %6.1f %9s %6s\n' "wc -l $(basename "$file") ($(($(stat -c %s "$file") / 1048576)) MiB)" \
    "$baseline" 1 "$baselineCpu" 1 "-" "-"
  if "$bin/qvlog" "$log" "$file" --count >/dev/null 2>&1; then
    row "qvlog $log --count" "$file" "$baseline" "$baselineCpu" "$bin/qvlog" "$log" "$file" --count
    row "qvlog $log --count --remote-port 1000-2000" "$file" "$baseline" "$baselineCpu" \
      "$bin/qvlog" "$log" "$file" --count --remote-port 1000-2000
  else
    echo "qvlog $log is not available in this build"
  fi
  # The readers alone (read, parse, one pass in ring order), when built.
  if [ -x "$bin/read_only_bench" ]; then
    if [ "$log" = traffic ]; then variable=QV_BENCH_TRAFFIC_LOG filter=readTrafficLog; else variable=QV_BENCH_PACKET_LOG filter=readPacketLog; fi
    row "readers alone ($filter)" "$file" "$baseline" "$baselineCpu" \
      env "$variable=$file" "$bin/read_only_bench" --benchmark_filter="$filter"
  fi
done
