#!/usr/bin/env bash
# Measures the whole program at its default interval under Xvfb next to a bare Qt window that
# changes 8 labels every 500 ms. Each round runs one program and one bare window side by side, so
# both see the same machine; rounds follow one another. The program runs in its own directory and
# home, so it neither reads nor leaves settings or a log anywhere else.
# Reports CPU seconds per minute in the steady state (the scheduler's exact run time of all
# threads, from 10 s after launch to the end) and resident memory at the end.
# Only one of each runs at a time on purpose: copies of the bare window would wake together (its
# timer is coarse, so Qt aligns its ticks) and share warm caches, which no single window has.
# VOLUMETRA_REFERENCE_ARGS are given to the bare window: "--status-bar" gives it a status bar whose
# message changes with its labels, a reference that also pays for a status line.
# Usage: scripts/measure_program.sh [build-dir] [seconds] [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
seconds=${2:-60}
rounds=${3:-3}

cpu_ns() {  # all threads of a process
  cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ sum += $1 } END { printf "%.0f", sum }'
}

round() {
  local work; work=$(mktemp -d)
  local names=(bare volumetra) pids=()
  mkdir -p "$work/home"
  cp "$build/src/volumetra" "$work/"
  # shellcheck disable=SC2086  # the arguments are words
  "$build/bench/bare_qt_window" ${VOLUMETRA_REFERENCE_ARGS:-} >/dev/null 2>&1 &
  pids+=($!)
  (cd "$work" && HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" exec ./volumetra >/dev/null 2>&1) &
  pids+=($!)
  sleep 10
  local starts=()
  for pid in "${pids[@]}"; do starts+=("$(cpu_ns "$pid")"); done
  sleep "$seconds"
  for i in "${!pids[@]}"; do
    local pid=${pids[$i]}
    echo "${names[$i]} $(cpu_ns "$pid") ${starts[$i]} $(awk '/VmRSS/ {print $2}' "/proc/$pid/status")"
    kill -TERM "$pid"
  done
  wait || true
  rm -rf "$work"
}

run() {
  for ((r = 0; r < rounds; r++)); do round; done | awk -v d="$seconds" '
    { cpu = ($2 - $3) / 1e9 * 60 / d; n[$1]++; sum[$1] += cpu; mem[$1] += $4 / 1024
      list[$1] = list[$1] sprintf(" %.3f", cpu) }
    END {
      for (p in n) printf "%-10s CPU %.3f s/min (rounds:%s)   RSS %.1f MB\n", p, sum[p] / n[p], list[p], mem[p] / n[p]
      printf "ratio      %.2f\n", (sum["volumetra"] / n["volumetra"]) / (sum["bare"] / n["bare"])
    }'
}

# Without a display the script runs itself again inside a virtual one.
if [ -n "${DISPLAY:-}" ]; then run; else
  exec xvfb-run -a -s "-screen 0 1920x1080x24" bash "$0" "$build" "$seconds" "$rounds"
fi
