#!/usr/bin/env bash
# What `cmake --install` puts in place: the program in bin/, the desktop entry, the AppStream
# metainfo, the icons and the licence where the freedesktop.org conventions and Debian put them,
# each valid; and the installed program, even where it could write beside itself, reads a
# settings file prepared there but saves to the user's configuration directory.
# Usage: tests/dist/install_test.sh <build directory> <desktop id> <window class>
set -euo pipefail
build=$1
id=$2
class=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" > /dev/null

# The files, and nothing else.
expected=(
  "bin/volumetra"
  "libexec/volumetra/volumetra-volume-helper"
  "share/applications/$id.desktop"
  "share/doc/volumetra/copyright"
  "share/icons/hicolor/scalable/apps/$id.svg"
  "share/metainfo/$id.metainfo.xml"
)
for size in 16 32 48 64 128 256; do expected+=("share/icons/hicolor/${size}x${size}/apps/$id.png"); done
installed=$(cd "$prefix" && find . -type f -printf '%P\n' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[ "$installed" = "$wanted" ] || fail "installed files differ:"$'\n'"$(diff <(echo "$wanted") <(echo "$installed"))"
[ -x "$prefix/bin/volumetra" ] || fail "bin/volumetra is not executable"
if readelf -d "$prefix/bin/volumetra" | grep -Eq 'R(UN)?PATH'; then fail "bin/volumetra keeps a library path"; fi

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate"
for line in "Exec=volumetra" "Icon=$id" "Categories=System;Monitor;" "StartupWMClass=$class"; do
  grep -qxF "$line" "$desktop" || fail "desktop entry lacks $line"
done
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo names no launchable"
for shot in main-window-english graph-window-english options-misc-english; do
  grep -qF "/docs/$shot.png</image>" "$metainfo" || fail "metainfo lacks the screenshot $shot"
done

for size in 16 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  file -b "$png" | grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" || fail "$png: $(file -b "$png")"
done
grep -q 'viewBox="0 0 32 32"' "$prefix/share/icons/hicolor/scalable/apps/$id.svg" || fail "the SVG icon"
grep -q "MIT License" "$prefix/share/doc/volumetra/copyright" || fail "the licence"

# The installed program: a prepared settings file beside it is read, the settings go to the
# configuration directory, and nothing is written into bin/.
mkdir -p "$work/home" && mkdir -m 700 "$work/run"
printf '[System]\r\nLanguage=Deutsch\r\nReportFileName=MY.LOG\r\n' > "$prefix/bin/volumetra.ini"
before=$(ls -l --time-style=full-iso "$prefix/bin")
HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run "$prefix/bin/volumetra" &
pid=$!
sleep 2
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the installed program ended with $status"
saved=$work/config/volumetra/volumetra.ini
grep -q '^Language=Deutsch' "$saved" || fail "settings not read beside the program or not saved in $saved"
grep -q '^ReportFileName=MY.LOG' "$saved" || fail "ReportFileName not carried over"
[ "$before" = "$(ls -l --time-style=full-iso "$prefix/bin")" ] || fail "the program wrote into bin/"

# Where no settings can be saved at all, the program still starts and ends as usual.
HOME=/proc/volumetra-nowhere XDG_CONFIG_HOME=/proc/volumetra-nowhere XDG_RUNTIME_DIR=$work/run \
  "$prefix/bin/volumetra" &
pid=$!
sleep 2
kill -0 "$pid" 2> /dev/null || fail "the program without a writable settings directory did not keep running"
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program without a writable settings directory ended with $status"
[ "$before" = "$(ls -l --time-style=full-iso "$prefix/bin")" ] || fail "the program wrote into bin/"

if ((failures > 0)); then exit 1; fi
echo "install layout: ${#expected[@]} files in place and valid; installed program keeps its settings in the configuration directory"
