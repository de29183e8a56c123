#!/usr/bin/env bash
# Times the desktop window on a large traffic log and a large packet log
# against the core alone: read to first rows painted, sort click to repaint,
# scrolling to the end and back, and peak memory. See bench/README.md.
#
#   bench/gui_bench.sh [FOLDER]
#
# FOLDER, BUILD_DIR, EVENTS and FRAMES as for read_bench.sh. Each mode runs
# RUNS times (default 3); the fastest run of each step counts.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
bin=$build/bin
events=${EVENTS:-1000000}
frames=${FRAMES:-1000000}
runs=${RUNS:-3}

source "$root/bench/bench_logs.sh"
require_programs "$bin" logs_gen gui_timing
prepare_logs "$bin" "$events" "$frames" "${@:1:1}"

# best MODE: the fastest value of every step over $runs runs, "name value" lines.
best() {
  local mode=$1 all
  all=$(mktemp)
  for _ in $(seq "$runs"); do "$bin/gui_timing" "$mode" "$traffic" "$packets" 2>/dev/null >>"$all"; done
  awk '{ if (!($1 in m) || $2 < m[$1]) m[$1] = $2 } END { for (k in m) print k, m[k] }' "$all" | sort
  rm -f "$all"
}

core=$(best core)
window=$(best window)
value() { awk -v k="$2" '$1 == k { print $2 }' <<<"$1"; }

printf '%-34s %10s %10s %10s\n' "step ($events events, $frames packets)" core window extra
for log in traffic packet; do
  c=$(value "$core" "${log}_read"); w=$(value "$window" "${log}_read_to_rows")
  printf '%-34s %9.3fs %9.3fs %+9.3fs\n' "$log: read to first rows" "$c" "$w" "$(awk -v a="$w" -v b="$c" 'BEGIN{print a-b}')"
  c=$(value "$core" "${log}_sort"); w=$(value "$window" "${log}_sort_to_repaint")
  printf '%-34s %9.3fs %9.3fs %+9.3fs\n' "$log: sort click to repaint" "$c" "$w" "$(awk -v a="$w" -v b="$c" 'BEGIN{print a-b}')"
  printf '%-34s %10s %9.3fs\n' "$log: new rows to repaint (view only)" "" "$(value "$window" "${log}_reset_to_repaint")"
  printf '%-34s %10s %9.3fs\n' "$log: scroll to end and back" "" "$(value "$window" "${log}_scroll_end_and_back")"
  printf '%-34s %10s %10s\n' "$log: paints while reading" "" "$(value "$window" "${log}_paints_while_reading")"
done
c=$(value "$core" peak_kb); w=$(value "$window" peak_kb)
printf '%-34s %8dMB %8dMB %+9.1f%%\n' "peak memory (both logs)" $((c / 1024)) $((w / 1024)) \
  "$(awk -v a="$w" -v b="$c" 'BEGIN{print (a-b)*100/b}')"

# One follow cycle: the traffic log with one event appended, read again by the
# window (selection and scroll position kept) against the core's read alone.
follow=$(best follow)
c=$(value "$follow" follow_core_read); w=$(value "$follow" follow_cycle)
printf '%-34s %9.3fs %9.3fs %+9.3fs\n' "traffic: follow cycle, 1 appended" "$c" "$w" \
  "$(awk -v a="$w" -v b="$c" 'BEGIN{print a-b}')"
printf '%-34s %10s %10s\n' "traffic: paints during follow read" "" "$(value "$follow" follow_paints_while_reading)"
