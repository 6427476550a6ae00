#!/usr/bin/env bash
# Runs inside Xvfb as an ordinary user, with the package installed (see scripts/package_test.sh):
# starts /usr/bin/volumetra, finds its windows with their class and icon, opens the options
# dialog, checks that a second start raises the main window and ends with 0, takes a screenshot
# to ~/installed.png, ends the program with SIGTERM and checks that its settings went to
# ~/.config/volumetra/. Exits non-zero when a check failed.
# Usage: package_session.sh <desktop id> <version>
set -euo pipefail
id=$1
version=$2
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

window() {  # the X window of the top-level window titled $1, waiting for it up to 10 s
  local found=""
  for _ in $(seq 100); do
    found=$(xdotool search --name "^$1\$" 2> /dev/null | head -n 1) && [ -n "$found" ] && break
    sleep 0.1
  done
  echo "$found"
}
on_top() {  # true when window $1 is stacked above window $2 (xwininfo lists the top-most first)
  local order
  order=$(xwininfo -root -children | awk '/^ +0x/ { print $1 }')
  [ "$(grep -n -x "$(printf '0x%x' "$1")" <<< "$order" | cut -d: -f1)" -lt \
    "$(grep -n -x "$(printf '0x%x' "$2")" <<< "$order" | cut -d: -f1)" ]
}
has_icon() {  # the window's _NET_WM_ICON holds the icon sizes the desktop's menus and bars use
  local icons
  icons=$(xprop -id "$1" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr '\n' ' ')
  for size in 16 32 48 64 128; do
    grep -q "($size x $size)" <<< "$icons" || return 1
  done
}

cd "$HOME"
/usr/bin/volumetra &
pid=$!
main=$(window "Volumetra V $version")
graph=$(window "Graphical-View")
[ -n "$main" ] || fail "no main window"
[ -n "$graph" ] || fail "no graph window"

if [ -n "$main" ]; then
  class=$(xprop -id "$main" WM_CLASS | sed -n 's/.*", "\(.*\)"$/\1/p')
  wanted=$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$id.desktop")
  [ -n "$class" ] && [ "$class" = "$wanted" ] || fail "window class '$class', desktop entry names '$wanted'"
  has_icon "$main" || fail "the main window carries no icon"
  [ -z "$graph" ] || has_icon "$graph" || fail "the graph window carries no icon"

  # The options dialog: the fourth control in the tab order is its button.
  xdotool windowfocus --sync "$main"
  xdotool key Tab Tab Tab space
  options=$(window "Options")
  if [ -n "$options" ]; then has_icon "$options" || fail "the options dialog carries no icon"; else fail "no options dialog"; fi

  # A second start raises the main window above the others and ends with 0.
  [ -z "$graph" ] || xdotool windowraise "$graph"
  sleep 0.3
  [ -z "$graph" ] || on_top "$graph" "$main" || fail "the graph window could not be put above the main window"
  second=0
  timeout 15 /usr/bin/volumetra || second=$?
  [ "$second" -eq 0 ] || fail "the second start ended with $second"
  sleep 0.3
  [ -z "$graph" ] || on_top "$main" "$graph" || fail "the second start did not raise the main window"
  kill -0 "$pid" 2> /dev/null || fail "the first copy is gone"
fi

sleep 1
import -window root png:- | convert png:- -bordercolor white -border 1 -trim +repage "$HOME/installed.png"

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with $status after SIGTERM"
ini=$HOME/.config/volumetra/volumetra.ini
if [ -f "$ini" ]; then
  [ "$(grep -c '=' "$ini")" -eq 13 ] || fail "$ini does not hold the thirteen keys"
else
  fail "no settings in $ini"
fi

if ((failures > 0)); then exit 1; fi
echo "installed program: main, graph and options windows with icon and class $class; a second start raised it; settings in $ini"
