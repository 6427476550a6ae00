#!/usr/bin/env bash
# Screenshots of every window (main window, graph window, each page of the options dialog, about
# box) in English and German, on a fake machine with today's disks, as a desktop shows them: under
# Xvfb with the Openbox window manager, frames included.
# Usage: scripts/screenshots.sh [directory] [scale]   (default docs/ at scale 1; at scale 2 the
# screen is twice as large and Qt draws at a device pixel ratio of 2)
# VOLUMETRA_BUILD_DIR chooses the build directory (default build/dev, configured if missing).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs}
scale=${2:-1}

build=${VOLUMETRA_BUILD_DIR:-build/dev}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$build" --target volumetra_screenshots
mkdir -p "$out"
tool=$(pwd)/$build/tests/volumetra_screenshots

xvfb-run -a -s "-screen 0 $((1280 * scale))x$((1024 * scale))x24" bash -c '
  openbox --sm-disable & wm=$!
  sleep 1
  status=0
  QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR="$2" "$0" "$1" || status=$?
  kill "$wm"
  wait "$wm" || true
  exit "$status"
' "$tool" "$out" "$scale"
