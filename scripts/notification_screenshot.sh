#!/usr/bin/env bash
# A screenshot of the low-space notification as a Linux desktop shows it: dunst on a session bus
# of its own under Xvfb, showing what the program sends for a nearly full drive.
# Usage: scripts/notification_screenshot.sh [file] [language]   (default docs/notification-english.png, English)
# VOLUMETRA_BUILD_DIR chooses the build directory (default build/dev, configured if missing).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/notification-english.png}
language=${2:-English}

build=${VOLUMETRA_BUILD_DIR:-build/dev}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$build" --target volumetra_notification_screenshot
tool=$(pwd)/$build/tests/volumetra_notification_screenshot
mkdir -p "$(dirname "$out")"

xvfb-run -a -s "-screen 0 800x240x24" dbus-run-session -- bash -c '
  config=$(mktemp)
  printf "[global]\nfont = DejaVu Sans 10\nwidth = 420\noffset = 20x20\n[urgency_normal]\ntimeout = 0\n" > "$config"
  dunst -config "$config" & server=$!
  sleep 1
  QT_QPA_PLATFORM=offscreen "$0" "$2" & tool=$!
  sleep 2
  import -window root "$1"
  wait "$tool" || true
  kill "$server"
  rm -f "$config"
' "$tool" "$(realpath -m "$out")" "$language"
echo "wrote $out"
