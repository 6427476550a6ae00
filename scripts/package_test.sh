#!/usr/bin/env bash
# The Debian package on this machine: builds it (Release, into build/package), installs it, starts
# the installed program under Xvfb as an ordinary user that the test makes (so the install
# directory is really not writable for it), and checks it there (scripts/package_session.sh). Then
# removes the package and the user again. A volumetra package installed before is replaced.
# Needs root for dpkg and useradd; skips itself otherwise. VOLUMETRA_BUILD_DIR chooses another
# parent for the build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${VOLUMETRA_BUILD_DIR:-build}/package
# The desktop id, as the build takes it from the program's source.
id=$(sed -n 's/.*kDesktopId = "\([^"]*\)".*/\1/p' src/platform/linux/desktop_entry.h)

if [ "$(id -u)" -ne 0 ]; then
  echo "package test: skipped: installing a package and adding a user need root"
  exit 0
fi

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

echo "== package: configure, build and cpack -G DEB"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVOLUMETRA_WERROR=ON -DBUILD_TESTING=OFF > /dev/null
cmake --build "$build" -j 2
rm -f "$build"/volumetra_*.deb
(cd "$build" && cpack -G DEB > cpack.log) || { cat "$build/cpack.log"; exit 1; }
deb=$(ls "$build"/volumetra_*.deb)

# The control fields: dependencies taken from the linked libraries, plus the platform plugin.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
packages=$(tr ',' '\n' <<< "$depends" | awk '{ print $1 }')
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libblkid1 libmount1 libc6 libstdc++6 qt6-qpa-plugins; do
  grep -qxF "$package" <<< "$packages" || fail "Depends lacks $package"
done
[ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "Section is not utils"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"
description=$(dpkg-deb -f "$deb" Description)
grep -q "drive letter" <<< "$description" || fail "no long Description"
# The text has no ";": one there is a CMake list separator that leaked into it.
if grep -qF ";" <<< "$description"; then fail "the Description holds list separators: $description"; fi
if awk 'length > 80 { found = 1 } END { exit !found }' <<< "$description"; then
  fail "the Description has lines longer than 80 characters"
fi

user=volumetra-package-test
home=$(mktemp -d /tmp/volumetra-package-test.XXXXXX)
cleanup() {
  dpkg -r volumetra > /dev/null 2>&1 || true
  if id "$user" > /dev/null 2>&1; then userdel "$user" > /dev/null 2>&1 || true; fi
  rm -rf "$home"
}
trap cleanup EXIT
if id "$user" > /dev/null 2>&1; then userdel "$user"; fi  # left by a run that was killed
useradd --home-dir "$home" --no-create-home --shell /bin/sh --user-group "$user"
chown "$user:$user" "$home"
chmod 700 "$home"
mkdir -m 700 "$home/run"
chown "$user:$user" "$home/run"

echo "== package: install"
dpkg -i "$deb" > /dev/null
dpkg-query -W -f='${Status}' volumetra | grep -q 'install ok installed' || fail "dpkg did not install it"
# Nothing of the build tree: no library path, no path into this checkout.
if readelf -d /usr/bin/volumetra | grep -Eq 'R(UN)?PATH'; then fail "/usr/bin/volumetra keeps a library path"; fi
if grep -qF "$root" /usr/bin/volumetra; then fail "/usr/bin/volumetra names $root"; fi
if runuser -u "$user" -- test -w /usr/bin; then fail "/usr/bin is writable for $user"; fi

echo "== package: the installed program under Xvfb as $user"
cp scripts/package_session.sh "$home/session.sh"
chown "$user:$user" "$home/session.sh"
status=0
runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR="$home/run" \
  xvfb-run -a -s "-screen 0 1280x800x24 -wr" bash "$home/session.sh" "$id" "$(dpkg-deb -f "$deb" Version)" ||
  status=$?
[ "$status" -eq 0 ] || fail "the session's checks failed ($status)"
mkdir -p shots
cp "$home/installed.png" shots/installed.png 2> /dev/null || true
if ls /usr/bin/volumetra.* /usr/bin/LOG.TXT > /dev/null 2>&1; then fail "the program wrote into /usr/bin"; fi

echo "== package: remove"
dpkg -r volumetra > /dev/null
[ ! -e /usr/bin/volumetra ] || fail "/usr/bin/volumetra is still there"
[ ! -e "/usr/share/applications/$id.desktop" ] || fail "the desktop entry is still there"

if ((failures > 0)); then
  echo "package test: FAILED: $failures checks"
  exit 1
fi
echo "package test: passed: $(basename "$deb") built, installed, run as $user and removed"
