#!/usr/bin/env bash
# The icon files kept in the tree are what the logo draws now: the scalable picture byte for byte,
# every PNG pixel for pixel. A change of the logo without `--target update_icons` fails here.
# Usage: icons_test.sh <volumetra_icons> <icon directory in the tree> <desktop id>
set -euo pipefail
tool=$1
kept=$2
id=$3
drawn=$(mktemp -d)
trap 'rm -rf "$drawn"' EXIT
"$tool" "$drawn" "$id"
failures=0
count=0
while IFS= read -r file; do
  relative=${file#"$drawn"/}
  count=$((count + 1))
  if [ ! -f "$kept/$relative" ]; then
    echo "missing in the tree: $relative"
    failures=$((failures + 1))
  elif [[ $file == *.svg ]]; then
    cmp -s "$file" "$kept/$relative" || { echo "differs: $relative"; failures=$((failures + 1)); }
  else
    differing=$(compare -metric AE "$file" "$kept/$relative" null: 2>&1 || true)
    [ "$differing" = "0" ] || { echo "differs in $differing pixels: $relative"; failures=$((failures + 1)); }
  fi
done < <(find "$drawn" -type f | sort)
kept_count=$(find "$kept" -type f | wc -l)
if ((count == 0 || kept_count != count)); then
  echo "the logo drew $count files, the tree keeps $kept_count"
  failures=$((failures + 1))
fi
if ((failures > 0)); then
  echo "icons_test: FAILED: $failures of $count icon files; run cmake --build <build> --target update_icons"
  exit 1
fi
echo "icons_test: the $count icon files in the tree are what the logo draws"
