#!/usr/bin/env bash
# Prepares a Wine prefix for the Windows tests and starts its persistent wineserver, or ends it.
#   scripts/wine_prefix.sh start PREFIX   make the prefix if needed, add the test drives, start
#                                         `wineserver -p` so that every test process shares it
#   scripts/wine_prefix.sh stop PREFIX    stop the server and remove the test drives again
# The test drives (see tests/platform/win32/wine_drives.h) must exist before the server starts,
# since Wine's mount manager learns the drives of the prefix when it starts: M: a labelled drive,
# N: a CD-ROM drive, P: a drive whose label lies outside every ANSI code page and, when a 20 TiB
# tmpfs can be mounted (as root), T: a drive of more than 2^32 clusters. The prefix's file
# volumetra-drives lists what was prepared.
# All Wine processes of the tests share one virtual display (Xvfb), started here, whose number the
# prefix's file volumetra-display holds, and one Wine desktop on it. VOLUMETRA_WINE_TEST_DRIVES=no
# leaves the test drives out (the prefix then has Wine's own drives only).
set -euo pipefail
action=$1
export WINEPREFIX=$(realpath -m "$2")
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts
# The mount manager reads the label files in the Unix locale's character set; they are UTF-8.
export LC_ALL=C.UTF-8
drives="$WINEPREFIX.drives"
dosdevices="$WINEPREFIX/dosdevices"

stop_display() {
  if [ -f "$WINEPREFIX/volumetra-xvfb.pid" ]; then
    kill "$(cat "$WINEPREFIX/volumetra-xvfb.pid")" 2> /dev/null || true
  fi
  rm -f "$WINEPREFIX/volumetra-xvfb.pid" "$WINEPREFIX/volumetra-display"
}

start_display() {
  stop_display
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3> "$WINEPREFIX/volumetra-display" > /dev/null 2>&1 &
  echo $! > "$WINEPREFIX/volumetra-xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$WINEPREFIX/volumetra-display" ] && break
    sleep 0.1
  done
  DISPLAY=:$(cat "$WINEPREFIX/volumetra-display")
  export DISPLAY
}

remove_drives() {
  rm -f "$dosdevices/m:" "$dosdevices/n:" "$dosdevices/p:" "$dosdevices/t:" "$WINEPREFIX/volumetra-drives"
  if mountpoint -q "$drives/large" 2> /dev/null; then umount "$drives/large" || true; fi
  rm -rf "$drives"
}

case $action in
  start)
    if [ ! -d "$dosdevices" ]; then
      echo "Making the Wine prefix $WINEPREFIX"
      wineboot -i > /dev/null 2>&1
    fi
    # Wine's own faces (fonts-wine: Tahoma, Marlett for the caption buttons, ...) are found in the
    # prefix's Fonts folder; Debian's Wine does not look for them where the package puts them.
    for font in /usr/share/wine/fonts/*.ttf; do
      [ -e "$font" ] && ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
    done
    wineserver -k 2> /dev/null || true
    remove_drives
    mkdir -p "$drives/media" "$drives/cdrom" "$drives/photos" "$drives/large"
    echo MEDIA > "$drives/media/.windows-label"
    echo 1234abcd > "$drives/media/.windows-serial"
    echo "a file" > "$drives/media/readme.txt"
    echo "a file" > "$drives/cdrom/setup.txt"
    echo "Fotos für Oma 写真" > "$drives/photos/.windows-label"
    echo 5a5a0001 > "$drives/photos/.windows-serial"
    echo "a file" > "$drives/photos/readme.txt"
    prepared=none
    if [ "${VOLUMETRA_WINE_TEST_DRIVES:-yes}" != no ]; then
      ln -sfn "$drives/media" "$dosdevices/m:"
      ln -sfn "$drives/cdrom" "$dosdevices/n:"
      ln -sfn "$drives/photos" "$dosdevices/p:"
      prepared=drives
      if mount -t tmpfs -o size=20t volumetra-large "$drives/large" 2> /dev/null; then
        ln -sfn "$drives/large" "$dosdevices/t:"
        prepared=drives,large
      fi
    fi
    wine reg add 'HKLM\Software\Wine\Drives' /v n: /d cdrom /f > /dev/null 2>&1
    # Every window on one virtual desktop: windows get their frames without a window manager,
    # and showing or activating one never waits for a window manager that is not there.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f > /dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f > /dev/null 2>&1
    wineserver -k 2> /dev/null || true
    echo "$prepared" > "$WINEPREFIX/volumetra-drives"
    start_display
    wineserver -p
    # The first process starts the prefix's services; after that, test processes start quickly
    # and no service holds ctest's output pipe open.
    wine cmd /c exit > /dev/null 2>&1
    ;;
  stop)
    wineserver -k 2> /dev/null || true
    stop_display
    remove_drives
    ;;
  *)
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
    ;;
esac
