#!/usr/bin/env bash
# The Windows program as a Windows user gets it, under Wine: cpack makes the installer and the
# portable .zip of a Windows build; the installer, run silently, puts the program into
# %LOCALAPPDATA%\Programs\Volumetra with a Start-menu shortcut and an entry in the user's list of
# apps (HKCU, nothing for all users); the program starts from its shortcut and shows its main
# window; the uninstaller refuses while the program runs, and otherwise removes what was installed
# and leaves the user's settings, log and other files. The .zip's program runs where it is
# unpacked and keeps its settings beside itself.
# Usage: tests/dist/windows_installer_test.sh <Windows build directory>, with WINEPREFIX naming a
# prefix that scripts/wine_prefix.sh started. The last line of output is the verdict.
set -euo pipefail
build=$(realpath "$1")
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix (see scripts/wine_prefix.sh)}"
export WINEDEBUG=-all
DISPLAY=:$(cat "$WINEPREFIX/volumetra-display")
export DISPLAY

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}
check() {  # what, command...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else fail "$what"; fi
}
section() { echo "== $* (at $SECONDS s)"; }
win() { wine cmd /c echo "$1" 2> /dev/null | tr -d '\r'; }
window_check() { wine "$build/tests/platform/win32/volumetra_window_check.exe" "$@" 2> /dev/null | tr -d '\r'; }
# Waits up to $1 seconds for a condition (the rest of the arguments) to hold.
eventually() {
  local limit=$1
  shift
  for _ in $(seq $((limit * 5))); do
    "$@" && return 0
    sleep 0.2
  done
  "$@"
}

section "Windows installer: cpack"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
rm -f "$build"/volumetra-*-win64.exe "$build"/volumetra-*-win64.zip
if ! (cd "$build" && cpack > cpack.log); then
  cat "$build/cpack.log"
  echo "windows installer test: FAILED: cpack failed"
  exit 1
fi
installer=$build/volumetra-$version-win64.exe
zip=$build/volumetra-$version-win64.zip
if [ ! -f "$installer" ] || [ ! -f "$zip" ]; then
  echo "windows installer test: FAILED: cpack made no installer or zip"
  exit 1
fi
echo "installer: $(basename "$installer"), $(stat -c %s "$installer") bytes; zip: $(stat -c %s "$zip") bytes"

key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Volumetra'
folder=$(win '%LOCALAPPDATA%')\\Programs\\Volumetra
dir=$(winepath -u "$folder")
shortcut=$(winepath -u "$(win '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs\\Volumetra.lnk")
present() { wine reg query "$1" > /dev/null 2>&1; }
absent() { ! present "$1"; }
# A copy installed by an earlier run of this test goes first.
if [ -e "$dir" ] || present "$key"; then
  rm -rf "$dir" "$shortcut"
  wine reg delete "$key" /f > /dev/null 2>&1 || true
fi

section "install silently"
check "the installer ends with 0" wine "$installer" /S
check "the program file in $folder" test -f "$dir/volumetra.exe"
check "the licence beside it" test -f "$dir/LICENSE.txt"
check "the uninstaller beside it" test -f "$dir/Uninstall.exe"
check "the Start-menu shortcut" test -f "$shortcut"
check "the shortcut names the program, for its target and its icon" \
  grep -qF "$folder\\volumetra.exe" <(strings -el "$shortcut")
entry=$(wine reg query "$key" 2> /dev/null | tr -d '\r' || true)
echo "$entry" | sed -n 's/^ \+//p'
value() { sed -n "s/^ *$1 \+REG_[A-Z_]\+ \+//p" <<< "$entry"; }
check "listed as Volumetra $version" test "$(value DisplayName) $(value DisplayVersion)" = "Volumetra $version"
check "uninstalled by its uninstaller" test "$(value UninstallString)" = "\"$folder\\Uninstall.exe\""
check "with the program's icon" test "$(value DisplayIcon)" = "$folder\\volumetra.exe,0"
check "nothing registered for all users" absent "${key/HKCU/HKLM}"

section "start from the Start menu"
wine start "$(winepath -w "$shortcut")" > /dev/null 2>&1 || true
shown=$(window_check shown 30 || true)
echo "$shown"
check "the installed program shows its main window" test "$shown" = "main window shown by $folder\\volumetra.exe"

section "uninstall while the program runs"
# In place (_?=), so that the uninstaller's own end tells how it went.
status=0
wine "$dir/Uninstall.exe" /S "_?=$folder" > /dev/null 2>&1 || status=$?
# 2: the uninstaller's script gave up.
check "the uninstaller gives up" test "$status" -eq 2
check "and leaves the program installed" test -f "$dir/volumetra.exe" -a -f "$dir/Uninstall.exe"
check "and listed" present "$key"
closed=$(window_check close 30 || true)
echo "$closed"
check "the program ends by its close box with 0" test "$closed" = "closed: the program ended with 0"
check "and saved its settings beside itself" test -f "$dir/volumetra.ini"

section "uninstall"
printf '12/9/2026 10:00:00 C: 1000\r\n' > "$dir/LOG.TXT"
printf 'notes\r\n' > "$dir/notes.txt"
check "the uninstaller ends with 0" wine "$dir/Uninstall.exe" /S
# The uninstaller runs on from a copy of itself in the temporary folder.
uninstalled() { [ ! -e "$dir/Uninstall.exe" ] && absent "$key"; }
check "the uninstaller is done" eventually 60 uninstalled
check "the shortcut is gone" test ! -e "$shortcut"
left=$(cd "$dir" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')
echo "left in $folder: $left"
check "only the user's files are left" test "$left" = "LOG.TXT notes.txt volumetra.ini "
rm -rf "$dir"

section "the portable .zip"
work=$(mktemp -d)
(cd "$work" && cmake -E tar xf "$zip")
portable=$work/volumetra-$version-win64
check "the zip holds the program and its licence" \
  test "$(cd "$portable" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort | tr '\n' ' ')" = "LICENSE.txt volumetra.exe "
wine start /unix "$portable/volumetra.exe" > /dev/null 2>&1 || true
shown=$(window_check shown 30 || true)
echo "$shown"
check "the unpacked program shows its main window" \
  test "$shown" = "main window shown by $(winepath -w "$portable/volumetra.exe")"
closed=$(window_check close 30 || true)
check "and ends by its close box with 0" test "$closed" = "closed: the program ended with 0"
check "keeping its settings beside itself" test -f "$portable/volumetra.ini"
rm -rf "$work"

if ((failures > 0)); then
  echo "windows installer test: FAILED: $failures checks failed"
  exit 1
fi
echo "windows installer test: passed: the installer ($(($(stat -c %s "$installer") / 1024)) KiB) installs for the user, the program starts from the Start menu, the uninstaller leaves the user's files; the zip runs where unpacked"
