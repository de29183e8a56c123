# Sourced by the benchmark scripts: the checks and the generated logs they
# share. Not run on its own.

# require_programs BIN PROGRAM...: stops unless each program is built in BIN.
require_programs() {
  local bin=$1 program
  shift
  for program in "$@"; do
    [ -x "$bin/$program" ] || { echo "missing $bin/$program: build first (see README.md)" >&2; exit 1; }
  done
}

# prepare_logs BIN EVENTS FRAMES [FOLDER]: sets `folder`, `traffic`, `packets`
# and `small_packets` (FRAMES packets of short frames only). The logs are generated into FOLDER unless it already holds logs of
# these sizes; without FOLDER a temporary folder is used and removed on exit.
prepare_logs() {
  local bin=$1 events=$2 frames=$3
  if [ $# -ge 4 ]; then
    folder=$4
    mkdir -p "$folder"
  else
    folder=$(mktemp -d)
    trap 'rm -rf "$folder"' EXIT
  fi
  traffic=$folder/tralog.log
  packets=$folder/rawlog.log
  small_packets=$folder/rawlog-small.log
  if [ ! -s "$traffic" ] || [ ! -s "$packets" ] || [ ! -s "$small_packets" ] ||
    [ "$(cat "$folder/sizes" 2>/dev/null)" != "$events $frames" ]; then
    echo "Generating $events events and $frames packets (twice: mixed and small frames) in $folder"
    "$bin/logs_gen" --events "$events" --frames "$frames" --traffic "$traffic" --packets "$packets"
    "$bin/logs_gen" --frames "$frames" --small-frames --packets "$small_packets"
    echo "$events $frames" >"$folder/sizes"
  fi
}
