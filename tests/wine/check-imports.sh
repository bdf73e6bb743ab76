#!/usr/bin/env bash
# Lists the DLLs a Windows program imports and fails when any is not part of Windows itself.
# Usage: check-imports.sh OBJDUMP PROGRAM.EXE   (exit 77, "skipped", when the program is not built)
set -euo pipefail
objdump=$1
program=$2
if [ ! -f "$program" ]; then
  echo "skipped: $program has not been built"
  exit 77
fi
command -v "$objdump" >/dev/null || { echo "skipped: $objdump is not installed"; exit 77; }
mapfile -t dlls < <("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]' | sort -u)
if [ ${#dlls[@]} -eq 0 ]; then
  echo "FAIL: no imports found in $program"
  exit 1
fi
# The DLLs every Windows since Windows 95 carries (msvcrt.dll included).
system="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll lz32.dll comctl32.dll msvcrt.dll"
status=0
for dll in "${dlls[@]}"; do
  case " $system " in
    *" $dll "*) echo "ok   $dll" ;;
    *) echo "FAIL $dll is not a system DLL"; status=1 ;;
  esac
done
exit $status
