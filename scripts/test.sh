#!/usr/bin/env bash
# Sets up the machine, checks the formatting, then builds the program, its tests and benchmarks
# with warnings as errors, AddressSanitizer and UndefinedBehaviorSanitizer (build/ci-asan) and
# runs every test. Then the Debian package is built (Release,
# build/package), installed, run and removed again (scripts/package_test.sh). Last, it
# cross-builds the Windows program and its tests with warnings as errors (build/ci-windows) and
# runs them under Wine, in a prefix of their own (build/ci-wine); the installer and the portable
# zip of that build are made, installed, run and removed there (tests/dist/windows_installer_test.sh).
# VOLUMETRA_BUILD_DIR chooses another parent for the build directories.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

root=${VOLUMETRA_BUILD_DIR:-build}
started=$SECONDS
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== clang-format"
unformatted=()
while IFS= read -r file; do
  clang-format --dry-run --Werror "$file" > /dev/null 2>&1 || unformatted+=("$file")
done < <(find src tests bench dist -name '*.cpp' -o -name '*.h' | sort)
if ((${#unformatted[@]} > 0)); then
  printf 'not formatted (run clang-format -i): %s\n' "${unformatted[@]}"
else
  echo "all files formatted"
fi

results=()
failed=0
run_variant() {  # name, configure preset, cmake options...
  local name=$1 preset=$2
  shift 2
  local dir="$root/ci-$name"
  echo "== $name: configure and build"
  if ! { cmake --preset "$preset" -B "$dir" "$@" > /dev/null && cmake --build "$dir" -j 2; }; then
    results+=("$name: the build FAILED")
    failed=1
    return
  fi
  echo "== $name: tests"
  # Wine reports each look at the label of drive Z: (the Unix root) that it cannot read.
  local status=0
  ctest --test-dir "$dir" --output-on-failure -j 2 --timeout 120 2>&1 | grep -v '^wine: Read access denied' |
    tee "$dir/ctest.log" || status=${PIPESTATUS[0]}
  results+=("$name: $(grep -E 'tests passed' "$dir/ctest.log" | tail -n 1)")
  if ((status != 0)); then failed=1; fi
}

# One Linux build serves both warnings as errors and the sanitizers, so that the run stays under
# 20 minutes: a second build of the same sources without the sanitizers cost a quarter of it.
run_variant asan sanitizers -DVOLUMETRA_BENCH=ON

package_status=0
bash scripts/package_test.sh | tee "$root/package-test.log" || package_status=$?
results+=("$(tail -n 1 "$root/package-test.log")")

# The Windows program and its tests under Wine, all in one prefix with one persistent wineserver.
export WINEPREFIX
WINEPREFIX=$(realpath -m "$root/ci-wine")
bash scripts/wine_prefix.sh start "$WINEPREFIX"
trap 'bash scripts/wine_prefix.sh stop "$WINEPREFIX"' EXIT
run_variant windows windows

installer_status=0
bash tests/dist/windows_installer_test.sh "$root/ci-windows" | tee "$root/windows-installer-test.log" ||
  installer_status=$?
results+=("$(tail -n 1 "$root/windows-installer-test.log")")

echo "== summary"
printf '%s\n' "${results[@]}"
if ((${#unformatted[@]} > 0 || failed != 0 || package_status != 0 || installer_status != 0)); then
  echo "test.sh: FAILED: ${#unformatted[@]} files not formatted, a build or its tests failed: $failed," \
    "package test status $package_status, Windows installer test status $installer_status," \
    "in $((SECONDS - started)) s"
  exit 1
fi
echo "test.sh: passed: formatting clean, the Linux and Windows builds warning-free, every test passed, the package installs and runs, the Windows installer installs, runs and uninstalls, in $((SECONDS - started)) s"
