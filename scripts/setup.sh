#!/usr/bin/env bash
# Installs what building, testing and running Volumetra needs on Debian 12 or Ubuntu 24.04, when
# it is missing: apt-get, through sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config   # compiler and build tools
  qt6-base-dev qt6-qpa-plugins libxcb-cursor0    # Qt 6 Widgets and its X11 (xcb) platform plugin
  libblkid-dev                                    # file-system labels and UUIDs
  libgtest-dev libgmock-dev libbenchmark-dev      # tests and benchmarks
  xvfb xauth imagemagick                          # a virtual display and screenshots
  fonts-dejavu-core fonts-liberation              # sans faces for the designed fonts
  dosfstools e2fsprogs                            # file systems the volume tests make
  clang-format                                    # the formatting check
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev # the Windows program: the MinGW-w64 cross compiler
  wine wine64 fonts-wine googletest               # Wine with its fonts to run it and its tests; GoogleTest's sources
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi
