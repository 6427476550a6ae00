#!/usr/bin/env bash
# Installs what building, testing, packaging and running Volumetra needs on Debian 12 or Ubuntu
# 24.04, when it is missing: apt-get, through sudo when not root. Then generates the locales the
# tests format dates, times and numbers in.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config   # compiler and build tools
  qt6-base-dev qt6-qpa-plugins libxcb-cursor0    # Qt 6 Widgets and its X11 (xcb) platform plugin
  libblkid-dev                                    # file-system labels and UUIDs
  libmount-dev                                    # the mount table and its kinds of file systems
  libgtest-dev libgmock-dev libbenchmark-dev      # tests and benchmarks
  xvfb xauth imagemagick openbox                  # a virtual display, a window manager and screenshots
  dunst                                           # a notification server the notification tests read back
  fonts-dejavu-core fonts-liberation              # sans faces for the designed fonts
  dosfstools e2fsprogs                            # file systems the volume tests make
  libfuse3-dev fuse3                              # the tests' FUSE file system (a server that can die)
  clang-format                                    # the formatting check
  desktop-file-utils appstream                    # validators of the desktop entry and metainfo
  dpkg-dev file                                   # the Debian package: its library dependencies
  x11-utils xdotool                               # the package test finds and raises the windows
  locales                                         # the locales below
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev # the Windows program: the MinGW-w64 cross compiler
  wine wine64 fonts-wine googletest               # Wine with its fonts to run it and its tests; GoogleTest's sources
  nsis                                            # the Windows installer (cpack -G NSIS)
)
# A German one, and ones with another date order, time form and separators.
locales=(de_DE.UTF-8 en_US.UTF-8 fr_FR.UTF-8)

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

installed_locales=$(locale -a)
for name in "${locales[@]}"; do
  # locale -a lists de_DE.UTF-8 as de_DE.utf8.
  if ! grep -qix "${name%%.*}.utf8" <<< "$installed_locales"; then
    echo "Generating the locale $name"
    "${sudo[@]}" localedef -i "${name%%.*}" -c -f UTF-8 "$name"
  fi
done
