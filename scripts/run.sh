#!/usr/bin/env bash
# Sets up the machine, builds Volumetra (Release, Ninja) into build/ and starts it. Without a
# display it runs under Xvfb, saves a screenshot to shots/run.png and closes the program again.
# VOLUMETRA_BUILD_DIR chooses another build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=${VOLUMETRA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" --target volumetra

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$build/src/volumetra"
fi

mkdir -p shots
echo "No display: starting Volumetra under Xvfb for a few seconds."
status=0
xvfb-run -a -s "-screen 0 1280x800x24 -wr" bash scripts/screenshot_session.sh "$build/src/volumetra" shots/run.png ||
  status=$?
echo "Screenshot of its windows: $(pwd)/shots/run.png"
if [ "$status" -eq 0 ]; then
  echo "Volumetra was closed through its normal close path (SIGTERM, like its Exit button) and ended with exit code 0."
else
  echo "Volumetra ended with exit code $status." >&2
fi
exit "$status"
