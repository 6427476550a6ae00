#!/usr/bin/env bash
# Measures the whole program at its default interval under Xvfb next to a bare Qt window that
# changes 8 labels every 500 ms: CPU seconds per minute in the steady state (the CPU time spent
# between 10 s after launch and the end, so start-up is not counted), and resident memory at the
# end.
# Usage: scripts/measure_program.sh [build-dir] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-60}
ticks=$(getconf CLK_TCK)

measure() {  # name, command...
  local name=$1; shift
  local home; home=$(mktemp -d)
  HOME=$home XDG_CONFIG_HOME=$home/.config "$@" &
  local pid=$!
  sleep 10
  local start; start=$(cut -d' ' -f14,15 "/proc/$pid/stat")
  sleep "$seconds"
  local stat; stat=$(cut -d' ' -f14,15 "/proc/$pid/stat")
  local rss; rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  kill -TERM "$pid"; wait "$pid" || true
  rm -rf "$home"
  local cpu; cpu=$(awk -v b="$start" -v s="$stat" -v t="$ticks" -v d="$seconds" \
    'BEGIN {split(b, x, " "); split(s, a, " "); printf "%.3f", (a[1] + a[2] - x[1] - x[2]) / t * 60 / d}')
  printf '%-22s CPU %6s s/min   RSS %6.1f MB\n' "$name" "$cpu" "$(awk -v r="$rss" 'BEGIN {print r / 1024}')"
}

run() {
  measure "bare Qt window" "$build/bench/bare_qt_window"
  measure "volumetra" "$build/src/volumetra"
}

# Without a display the script runs itself again inside a virtual one.
if [ -n "${DISPLAY:-}" ]; then run; else
  exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$build" "$seconds"
fi
