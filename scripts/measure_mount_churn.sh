#!/usr/bin/env bash
# Measures the resident memory of the real program while mounts come and go (needs root): in a
# mount namespace of its own, every 0.2 s one of six places changes, a tmpfs or an ext4 image
# mounted with a bind mount beside it, or both unmounted. The program runs offscreen in its own
# directory and home, beside its volume helper. Prints the program's resident memory and its
# threads every minute, then after the first minute and at the end, and the volume helpers left.
# Usage: scripts/measure_mount_churn.sh [build-dir] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
seconds=${2:-1800}
if [ "$(id -u)" -ne 0 ]; then echo "needs root: mounts tmpfs, loop images and bind mounts" >&2; exit 1; fi

work=$(mktemp -d)
cp "$build/src/volumetra" "$build/src/volumetra-volume-helper" "$work/"
truncate -s 8M "$work/disk.img"
mkfs.ext4 -q -F "$work/disk.img"

exec unshare -m --propagation private bash -s "$work" "$seconds" <<'INNER'
set -u
work=$1 seconds=$2
rss() { awk '/VmRSS/ { print $2 }' /proc/"$1"/status; }
(cd "$work" && QT_QPA_PLATFORM=offscreen HOME="$work" XDG_STATE_HOME="$work/state" exec ./volumetra >/dev/null 2>&1) &
pid=$!
sleep 5
(
  end=$((SECONDS + seconds)) i=0
  while [ $SECONDS -lt $end ]; do
    place="$work/m$((i % 6))"
    mkdir -p "$place" "$place.bind"
    if mountpoint -q "$place"; then
      umount "$place.bind" 2>/dev/null; umount "$place"
    else
      if (( i % 3 == 0 )); then mount -o loop "$work/disk.img" "$place"; else mount -t tmpfs -o size=1m tmpfs "$place"; fi
      mount --bind "$place" "$place.bind"
    fi
    i=$((i + 1))
    sleep 0.2
  done
) &
churn=$!
start=$SECONDS first=""
while kill -0 $churn 2>/dev/null; do
  sleep 60
  now=$(rss $pid)
  [ -z "$first" ] && first=$now
  echo "$((SECONDS - start)) s: ${now} kB resident, $(ls /proc/$pid/task | wc -l) threads"
done
last=$(rss $pid)
echo "resident memory after the first minute: ${first} kB, at the end: ${last} kB"
kill -TERM $pid; wait $pid
for place in "$work"/m?; do umount "$place.bind" "$place" 2>/dev/null; done
echo "volume helpers left: $(pgrep -c -f "$work/volumetra-volume-helper" || true)"
rm -rf "$work"
INNER
