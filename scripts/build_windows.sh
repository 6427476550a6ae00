#!/usr/bin/env bash
# Builds the Windows program, volumetra.exe, with the MinGW-w64 cross compiler: one static x64 exe
# that imports only system DLLs, with the program's icon, version resource and manifest.
# VOLUMETRA_BUILD_DIR chooses the build directory (build/windows by default).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=${VOLUMETRA_BUILD_DIR:-build/windows}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DVOLUMETRA_TESTS=OFF > /dev/null
cmake --build "$build" --target volumetra bare_win32_window
echo "Built $(realpath "$build/src/volumetra.exe")"
