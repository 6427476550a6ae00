#!/usr/bin/env bash
# Runs the Windows tests' DeadShareUnderWine case with a real network drive whose server stops
# answering: the tests' FUSE file system (tests/platform/linux/test_fuse), registered as network
# drive X: of a Wine prefix of its own. That prefix is an overlay of the test prefix (WINEPREFIX,
# made by scripts/wine_prefix.sh), in a mount namespace of this script's own, so no other Wine
# process ever meets the dead drive: under Wine a process that starts while a drive's server is
# dead waits for it. Needs root (FUSE and overlay mounts), /dev/fuse and libfuse3, and skips with
# exit code 77 and a message where they are missing.
# Usage: dead_share_under_wine.sh TESTS_EXE FUSE_SERVER_SOURCE WORK_DIR
set -euo pipefail
tests=$1
fuse_source=$2
build=$3
: "${WINEPREFIX:?WINEPREFIX must name the test prefix (see scripts/wine_prefix.sh)}"

skip() {
  echo "SKIPPED: $*"
  exit 77
}

if [ -z "${VOLUMETRA_DEAD_SHARE_NAMESPACE:-}" ]; then
  [ "$(id -u)" -eq 0 ] || skip "needs root to mount a FUSE file system and the prefix's overlay"
  if [ ! -r /dev/fuse ] || [ ! -w /dev/fuse ]; then skip "no /dev/fuse on this machine"; fi
  pkg-config --exists fuse3 || skip "no libfuse3 to build the tests' FUSE file system (libfuse3-dev)"
  unshare --mount --propagation private true 2> /dev/null || skip "cannot make a mount namespace here"
  # The Windows build has no compiler for this machine's programs: the server is built here.
  server=$build/volumetra_test_fuse
  if [ ! -x "$server" ] || [ "$fuse_source" -nt "$server" ]; then
    # shellcheck disable=SC2046
    c++ -std=c++20 -O1 -o "$server" "$fuse_source" $(pkg-config --cflags --libs fuse3)
  fi
  VOLUMETRA_DEAD_SHARE_NAMESPACE=$server exec unshare --mount --propagation private bash "$0" "$@"
fi
server=$VOLUMETRA_DEAD_SHARE_NAMESPACE
shared=$(realpath "$WINEPREFIX")

# The overlay's changes go to a tmpfs: an overlay cannot keep them on another overlay.
work=$(mktemp -d /tmp/volumetra-dead-share.XXXXXX)
server_pid=
watchdog_pid=
finish() {
  rm -f "$work/share.silent"  # the calls still waiting for the server come back
  if [ -n "$watchdog_pid" ]; then
    # shellcheck disable=SC2046
    kill $(pgrep -P "$watchdog_pid") "$watchdog_pid" 2> /dev/null || true
  fi
  if [ -n "$server_pid" ]; then
    WINEPREFIX=$work/prefix wineserver -k 2> /dev/null || true
    kill "$server_pid" 2> /dev/null || true
    wait "$server_pid" 2> /dev/null || true
  fi
  umount "$work/prefix" 2> /dev/null || true
  umount "$work" 2> /dev/null || true
  rmdir "$work"
}
trap finish EXIT
mount -t tmpfs volumetra-dead-share "$work"
mkdir "$work/changes" "$work/overlay-work" "$work/prefix" "$work/share"
mount -t overlay volumetra-dead-share \
  -o "lowerdir=$shared,upperdir=$work/changes,workdir=$work/overlay-work" "$work/prefix" ||
  skip "cannot lay an overlay over the Wine prefix here"
export WINEPREFIX=$work/prefix WINEDEBUG=-all
DISPLAY=:$(cat "$shared/volumetra-display")
export DISPLAY

"$server" "$work/share" "$work/share.silent" > /dev/null 2>&1 &
server_pid=$!
# Should the test hang with the server silent, the server answers again after a while, so that it
# fails rather than hangs.
(
  sleep 150
  rm -f "$work/share.silent"
) &
watchdog_pid=$!
for _ in $(seq 200); do
  mountpoint -q "$work/share" && break
  sleep 0.05
done
mountpoint -q "$work/share" || {
  echo "the FUSE file system did not mount"
  exit 1
}

# Wine's mount manager learns the drives of a prefix and their types when the prefix's services
# start: it starts again once the drive is there.
ln -sfn "$work/share" "$WINEPREFIX/dosdevices/x:"
wine reg add 'HKLM\Software\Wine\Drives' /v x: /d network /f > /dev/null 2>&1
wineserver -k
wineserver -w
VOLUMETRA_DEAD_SHARE="X$work/share.silent" wine "$tests" --gtest_filter='DeadShareUnderWine.*'
