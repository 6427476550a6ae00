#!/usr/bin/env bash
# Runs inside an X server: starts the program, lets it run, saves a screenshot of the screen
# cropped to the windows, and ends the program through its normal close path (SIGTERM, which it
# handles like the Exit button). Exits with the program's exit code.
# Usage: scripts/screenshot_session.sh <program> <screenshot.png> [seconds]
set -euo pipefail
program=$1
shot=$2
seconds=${3:-4}

"$program" &
pid=$!
sleep "$seconds"
# The root window is white (xvfb-run -wr), so trimming it leaves the program's windows.
import -window root png:- | convert png:- -bordercolor white -border 1 -trim +repage "$shot"
kill -TERM "$pid"
wait "$pid"
