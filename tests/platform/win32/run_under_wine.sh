#!/usr/bin/env bash
# Runs a Windows test executable under Wine. WINEPREFIX names a prefix that scripts/wine_prefix.sh
# prepared: its test drives, which are passed on to the tests in VOLUMETRA_WINE_DRIVES, and the
# virtual display its Wine desktop runs on.
# Usage: run_under_wine.sh test.exe [arguments...]
set -euo pipefail
exe=$1
shift
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix (see scripts/wine_prefix.sh)}"
export WINEDEBUG=${WINEDEBUG:--all}
if [ -f "$WINEPREFIX/volumetra-drives" ]; then
  VOLUMETRA_WINE_DRIVES=$(cat "$WINEPREFIX/volumetra-drives")
  export VOLUMETRA_WINE_DRIVES
fi
if [ -f "$WINEPREFIX/volumetra-display" ]; then
  DISPLAY=:$(cat "$WINEPREFIX/volumetra-display")
  export DISPLAY
fi
exec wine "$exe" "$@"
