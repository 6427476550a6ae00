#!/usr/bin/env bash
# Launch to first window of the Windows program under Wine beside the bare Win32 window with the
# common controls' status bar (bench/win32/bare_win32_window.exe /statusbar), timed by
# bench/win32/launch_time.exe: each start in a fresh directory, until a visible top-level window of
# the process exists, then closed. The two programs take turns, one start each, so that load from
# elsewhere on the machine falls on both alike; medians of all rounds and their ratio are printed.
# Usage: scripts/measure_launch.sh [build-dir] [rounds]   (VOLUMETRA_WINE_PREFIX: the prefix;
# VOLUMETRA_PROGRAM: another volumetra.exe to time, such as an earlier build's)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/windows-release}")
rounds=${2:-15}
prefix=$(realpath -m "${VOLUMETRA_WINE_PREFIX:-$build/wine-prefix}")
export WINEPREFIX=$prefix WINEDEBUG=-all

# Wine's own drives only: C: and Z:.
VOLUMETRA_WINE_TEST_DRIVES=no bash scripts/wine_prefix.sh start "$prefix" > /dev/null
trap 'bash scripts/wine_prefix.sh stop "$prefix"' EXIT
DISPLAY=:$(cat "$prefix/volumetra-display")
export DISPLAY
timer=$(winepath -w "$build/bench/launch_time.exe")
program=$(winepath -w "$(realpath "${VOLUMETRA_PROGRAM:-$build/src/volumetra.exe}")")
bare=$(winepath -w "$build/bench/bare_win32_window.exe")
# One warm-up start of each, so that neither pays for the first loading of Wine's libraries.
wine "$timer" 1 "$program" > /dev/null
wine "$timer" 1 "$bare" /statusbar > /dev/null
for ((r = 0; r < rounds; r++)); do
  wine "$timer" 1 "$program" | awk 'NR == 1 { print "volumetra", $1; print "volumetra-ready", $2 }'
  wine "$timer" 1 "$bare" /statusbar | awk 'NR == 1 { print "bare-status", $1; print "bare-status-ready", $2 }'
done | awk '
  { t[$1, ++n[$1]] = $2 + 0 }
  function median(p,   i, j, v, k, a) {
    k = n[p]; for (i = 1; i <= k; i++) a[i] = t[p, i]
    for (i = 2; i <= k; i++) { v = a[i]; for (j = i - 1; j >= 1 && a[j] > v; j--) a[j + 1] = a[j]; a[j + 1] = v }
    lo[p] = a[1]; hi[p] = a[k]
    return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
  }
  END {
    split("volumetra bare-status volumetra-ready bare-status-ready", names, " ")
    for (i = 1; i <= 4; i++) {
      p = names[i]; m[p] = median(p)
      printf "%-18s median %.0f ms (min %.0f, max %.0f, %d rounds)\n", p, m[p], lo[p], hi[p], n[p]
    }
    printf "ratio first window %.2f   ready %.2f\n", m["volumetra"] / m["bare-status"], m["volumetra-ready"] / m["bare-status-ready"]
  }'
