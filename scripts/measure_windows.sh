#!/usr/bin/env bash
# Measures the Windows program under Wine at its default interval next to a bare Win32 window that
# changes 8 statics every 500 ms (bench/win32/bare_win32_window.cpp). Each round runs one program
# and one bare window side by side in one Wine prefix, on one virtual display and Wine desktop
# (scripts/wine_prefix.sh), so both see the same machine; rounds follow one another. The program
# runs in a directory of its own, so it leaves its settings and log nowhere else.
# Reports CPU seconds per minute in the steady state (the scheduler's exact run time of all threads
# of each Windows process, from 10 s after launch to the end) and resident memory at the end. The
# wineserver, which both share, is reported apart.
# A second bare window draws its statics in the face the program's table cells are drawn with
# here (Liberation Sans, or VOLUMETRA_BARE_FACE), for a reference that paints text the same way.
# A third also loads the common controls and changes the text of their status bar with its
# statics: what the controls the program is built on cost before the program does anything.
# Usage: scripts/measure_windows.sh [build-dir] [seconds] [rounds]   (VOLUMETRA_WINE_PREFIX: the prefix)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/windows}")
seconds=${2:-60}
rounds=${3:-3}
prefix=$(realpath -m "${VOLUMETRA_WINE_PREFIX:-$build/wine-prefix}")
export WINEPREFIX=$prefix WINEDEBUG=-all
face=${VOLUMETRA_BARE_FACE:-Liberation Sans}

cpu_ns() {  # all threads of a process
  cat /proc/"$1"/task/*/schedstat 2> /dev/null | awk '{ sum += $1 } END { printf "%.0f", sum }'
}

# The wineserver of this prefix: it works in a directory named after the prefix's device and inode.
server_of_prefix() {
  local wanted pid
  wanted=$(printf 'server-%x-%x' $(stat -c '%d %i' "$prefix"))
  for pid in $(pgrep '^wineserver'); do
    if [[ $(readlink "/proc/$pid/cwd") == */"$wanted" ]]; then echo "$pid"; fi
  done
}

round() {
  local work
  work=$(mktemp -d)
  cp "$build/src/volumetra.exe" "$build/bench/bare_win32_window.exe" "$work/"
  # A home with X resources, as a desktop session has: without any, Xlib reads ~/.Xdefaults
  # again at every XGetDefault, which Wine calls whenever it selects an antialiased font.
  mkdir -p "$work/home"
  printf 'Xft.antialias: 1\n' > "$work/home/.Xdefaults"
  local names=(bare volumetra bare-font bare-status) pids=()
  (cd "$work" && HOME="$work/home" exec wine bare_win32_window.exe > /dev/null 2>&1) &
  pids+=($!)
  (cd "$work" && HOME="$work/home" exec wine volumetra.exe > /dev/null 2>&1) &
  pids+=($!)
  (cd "$work" && HOME="$work/home" exec wine bare_win32_window.exe "$face" > /dev/null 2>&1) &
  pids+=($!)
  (cd "$work" && HOME="$work/home" exec wine bare_win32_window.exe /statusbar > /dev/null 2>&1) &
  pids+=($!)
  local server
  server=$(server_of_prefix)
  sleep 10
  local starts=() serverStart
  for pid in "${pids[@]}"; do starts+=("$(cpu_ns "$pid")"); done
  serverStart=$(cpu_ns "$server")
  sleep "$seconds"
  for i in "${!pids[@]}"; do
    local pid=${pids[$i]}
    echo "${names[$i]} $(cpu_ns "$pid") ${starts[$i]} $(awk '/VmRSS/ {print $2}' "/proc/$pid/status")"
  done
  echo "wineserver $(cpu_ns "$server") $serverStart 0"
  kill -TERM "${pids[@]}" 2> /dev/null || true
  wait || true
  rm -rf "$work"
}

# Wine's own drives only: C: and Z:.
VOLUMETRA_WINE_TEST_DRIVES=no bash scripts/wine_prefix.sh start "$prefix" > /dev/null
trap 'bash scripts/wine_prefix.sh stop "$prefix"' EXIT
DISPLAY=:$(cat "$prefix/volumetra-display")
export DISPLAY
for ((r = 0; r < rounds; r++)); do round; done | awk -v d="$seconds" '
  { cpu = ($2 - $3) / 1e9 * 60 / d; n[$1]++; sum[$1] += cpu; mem[$1] += $4 / 1024
    list[$1] = list[$1] sprintf(" %.3f", cpu) }
  END {
    for (p in n) printf "%-10s CPU %.3f s/min (rounds:%s)   RSS %.1f MB\n", p, sum[p] / n[p], list[p], mem[p] / n[p]
    v = sum["volumetra"] / n["volumetra"]
    printf "ratio      CPU %.2f   RSS %.2f   (to bare-font: CPU %.2f   RSS %.2f; to bare-status: CPU %.2f   RSS %.2f)\n",
      v / (sum["bare"] / n["bare"]), mem["volumetra"] / mem["bare"],
      v / (sum["bare-font"] / n["bare-font"]), mem["volumetra"] / mem["bare-font"],
      v / (sum["bare-status"] / n["bare-status"]), mem["volumetra"] / mem["bare-status"]
  }'
