#!/usr/bin/env bash
# Checks the built volumetra.exe: an x64 GUI program that imports only DLLs of Windows itself (the
# compiler's runtime is linked in), and not mpr.dll, which it loads only for a network drive; with
# the program's icon, its version resource and a manifest that declares it DPI-aware.
# Usage: check_exe.sh OBJDUMP volumetra.exe
set -euo pipefail
objdump=$1
exe=$2
system_dlls=" KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll msvcrt.dll ADVAPI32.dll "
status=0
headers=$("$objdump" -p "$exe")
grep -q 'file format pei-x86-64' <<< "$headers" || { echo "not an x64 exe"; status=1; }
grep -q 'Subsystem.*(Windows GUI)' <<< "$headers" || { echo "not a GUI program"; status=1; }
while read -r dll; do
  if [[ $system_dlls != *" $dll "* ]]; then
    echo "imports $dll, which is no DLL of Windows itself"
    status=1
  fi
done < <(sed -n 's/^\s*DLL Name: //p' <<< "$headers")
echo "imports: $(sed -n 's/^\s*DLL Name: //p' <<< "$headers" | tr '\n' ' ')"
"$objdump" -h "$exe" | grep -q '\.rsrc' || { echo "no resources"; status=1; }
# Resource types: 0x0e a group icon, 0x10 the version, 0x18 the manifest.
grep -q 'Entry: ID: 0x00000e,' <<< "$headers" || { echo "no icon"; status=1; }
strings -a -el "$exe" | grep -c '^ProductVersion$' > /dev/null || { echo "no version resource"; status=1; }
grep -qa 'dpiAware' "$exe" || { echo "no DPI-aware manifest"; status=1; }
exit $status
