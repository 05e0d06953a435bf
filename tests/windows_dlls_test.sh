#!/usr/bin/env bash
# Checks that Windows executables need no DLL beyond those of Windows itself,
# so that each runs as the one file it is.
#   windows_dlls_test.sh EXE...
set -euo pipefail
objdump=x86_64-w64-mingw32-objdump
# The system's own libraries, present on every Windows.
readonly system_dlls=" advapi32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll "

faults=0
for exe in "$@"; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  [[ -n $dlls ]] || { echo "$exe: no DLL names found"; faults=$((faults + 1)); }
  for dll in $dlls; do
    if [[ $system_dlls != *" ${dll,,} "* ]]; then
      echo "$exe: needs $dll, which Windows does not bring"
      faults=$((faults + 1))
    fi
  done
  echo "$(basename "$exe") needs:" $dlls
done
((faults == 0))
