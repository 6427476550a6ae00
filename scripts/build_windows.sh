#!/usr/bin/env bash
# Builds the Windows program, volumetra.exe, with the MinGW-w64 cross compiler: one static x64 exe
# that imports only system DLLs, with the program's icon, version resource and manifest; then what
# a Windows user gets: the per-user installer and the portable zip (cpack: NSIS and ZIP).
# VOLUMETRA_BUILD_DIR chooses the build directory (build/windows by default).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

build=${VOLUMETRA_BUILD_DIR:-build/windows}
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=OFF -DVOLUMETRA_BENCH=ON > /dev/null
cmake --build "$build" --target volumetra bare_win32_window
rm -f "$build"/volumetra-*-win64.exe "$build"/volumetra-*-win64.zip
(cd "$build" && cpack > cpack.log) || { cat "$build/cpack.log"; exit 1; }
echo "Built $(realpath "$build/src/volumetra.exe")"
for package in "$build"/volumetra-*-win64.exe "$build"/volumetra-*-win64.zip; do
  echo "Packed $(realpath "$package")"
done
