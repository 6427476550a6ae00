#!/usr/bin/env bash
# Measures the whole program at its default interval under Xvfb next to a bare Qt window that
# changes 8 labels every 500 ms. Several copies of each run side by side, so both see the same
# machine; each program copy has its own directory and home, so none shares settings or a log.
# Reports CPU seconds per minute in the steady state (the scheduler's exact run time of all
# threads, from 10 s after launch to the end) and resident memory at the end.
# Usage: scripts/measure_program.sh [build-dir] [seconds] [copies]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
seconds=${2:-60}
copies=${3:-3}

cpu_ns() {  # all threads of a process
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%.0f", sum }'
}

run() {
  local work; work=$(mktemp -d)
  local names=() pids=()
  for ((i = 0; i < copies; i++)); do
    for name in bare volumetra; do
      local dir="$work/$name$i"
      mkdir -p "$dir/home"
      local binary="$build/bench/bare_qt_window"
      if [ "$name" = volumetra ]; then cp "$build/src/volumetra" "$dir/"; binary="$dir/volumetra"; fi
      (cd "$dir" && HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/.config" exec "$binary" >/dev/null 2>&1) &
      names+=("$name"); pids+=($!)
    done
  done
  sleep 10
  local starts=()
  for pid in "${pids[@]}"; do starts+=("$(cpu_ns "$pid")"); done
  sleep "$seconds"
  local results=()
  for i in "${!pids[@]}"; do
    local pid=${pids[$i]}
    local rss; rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    results+=("${names[$i]} $(cpu_ns "$pid") ${starts[$i]} $rss")
    kill -TERM "$pid"
  done
  wait || true
  rm -rf "$work"
  printf '%s\n' "${results[@]}" | awk -v d="$seconds" '
    { cpu = ($2 - $3) / 1e9 * 60 / d; n[$1]++; sum[$1] += cpu; mem[$1] += $4 / 1024
      list[$1] = list[$1] sprintf(" %.3f", cpu) }
    END {
      for (p in n) printf "%-10s CPU %.3f s/min (copies:%s)   RSS %.1f MB\n", p, sum[p] / n[p], list[p], mem[p] / n[p]
      printf "ratio      %.2f\n", (sum["volumetra"] / n["volumetra"]) / (sum["bare"] / n["bare"])
    }'
}

# Without a display the script runs itself again inside a virtual one.
if [ -n "${DISPLAY:-}" ]; then run; else
  exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$build" "$seconds" "$copies"
fi
