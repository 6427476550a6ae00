#!/usr/bin/env bash
# Measures the program's CPU and memory at rest (scripts/measure_program.sh) in three cases: the
# machine's own drives; 24 drives (22 more tmpfs mounts); and a tmpfs whose free space changes on
# every survey (a writer rewrites a file on it every 200 ms). Needs root for the mounts; runs in a
# mount namespace of its own, so the mounts neither stay behind nor reach other programs.
# Usage: sudo scripts/measure_cases.sh [build-dir] [seconds] [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${VOLUMETRA_IN_NAMESPACE:-} != yes ]]; then
  exec env VOLUMETRA_IN_NAMESPACE=yes unshare -m --propagation private bash "$0" "$@"
fi
build=${1:-build-release}
seconds=${2:-60}
rounds=${3:-3}
mnt=$(mktemp -d)

echo "== the machine's own drives"
bash scripts/measure_program.sh "$build" "$seconds" "$rounds"

echo "== 24 drives: 22 more tmpfs mounts"
for i in $(seq 1 22); do
  mkdir -p "$mnt/d$i"
  mount -t tmpfs -o size=$((i * 10))m "volumetra-case$i" "$mnt/d$i"
done
bash scripts/measure_program.sh "$build" "$seconds" "$rounds"
for i in $(seq 1 22); do umount "$mnt/d$i"; done

echo "== a tmpfs whose free space changes every 200 ms"
mkdir -p "$mnt/w"
mount -t tmpfs -o size=64m volumetra-changing "$mnt/w"
(
  n=0
  while true; do
    n=$(((n + 1) % 50))
    head -c $(((n + 1) * 40000)) /dev/zero > "$mnt/w/f"
    sleep 0.2
  done
) &
writer=$!
bash scripts/measure_program.sh "$build" "$seconds" "$rounds"
kill "$writer"
wait "$writer" 2> /dev/null || true
umount "$mnt/w"
rm -rf "$mnt"
