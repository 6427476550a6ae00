#!/usr/bin/env bash
# Screenshots of every window of the Windows program (main window, graph window, each page of the
# options dialog, about box) in English and German, on a fake machine with today's disks, as a
# Windows desktop shows them: the real Win32 windows under Wine on a virtual desktop, frames
# included. The files are named docs/windows-<window>-<language>.png.
# Usage: scripts/screenshots_windows.sh [directory] [dpi]   (default docs/ at 96 DPI; 144 is 150 %)
# VOLUMETRA_WINDOWS_BUILD_DIR chooses the MinGW build directory (default build/windows, configured
# if missing). WINEPREFIX names a prefix that scripts/wine_prefix.sh started; without it the script
# makes its own in the build directory and stops it again.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs}
dpi=${2:-96}

build=${VOLUMETRA_WINDOWS_BUILD_DIR:-build/windows}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build "$build" --target volumetra_win32_screenshots
mkdir -p "$out"
tool=$(pwd)/$build/tests/platform/win32/volumetra_win32_screenshots.exe

if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX=$(pwd)/$build/wine-screenshots
  VOLUMETRA_WINE_TEST_DRIVES=no bash scripts/wine_prefix.sh start "$WINEPREFIX" > /dev/null 2>&1
  trap 'bash scripts/wine_prefix.sh stop "$WINEPREFIX" > /dev/null 2>&1' EXIT
fi

shots=$(mktemp -d)
bash tests/platform/win32/run_under_wine.sh "$tool" "$(winepath -w "$shots")" "$dpi"
for shot in "$shots"/*.bmp; do
  png="$out/$(basename "${shot%.bmp}").png"
  convert "$shot" -strip "$png"  # no time stamps: a rerun gives the same files
  echo "$png"
done
rm -rf "$shots"
