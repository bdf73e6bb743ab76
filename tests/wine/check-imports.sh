#!/usr/bin/env bash
# Lists every function a Windows program imports, DLL by DLL, and fails on any that is
# not in the allow-list: the calls the program may make, each one present in Windows 2000.
# A new call has to be added to the list on purpose, after checking that it is that old.
# Usage: check-imports.sh OBJDUMP PROGRAM.EXE ALLOW-LIST
#        (exit 77, "skipped", when the program is not built)
set -euo pipefail
objdump=$1 program=$2 allowed=$3
if [ ! -f "$program" ]; then
  echo "skipped: $program has not been built"
  exit 77
fi
command -v "$objdump" >/dev/null || { echo "skipped: $objdump is not installed"; exit 77; }
# "DLL Name: X" opens a DLL's list; its lines are "hint-rva hint name" up to a blank line.
mapfile -t imports < <("$objdump" -p "$program" | awk '
  /^[ \t]*DLL Name: / { dll = tolower($3); next }
  dll != "" && NF == 0 { dll = ""; next }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print dll, $3 }' | sort -u)
if [ ${#imports[@]} -eq 0 ]; then
  echo "FAIL: no imports found in $program"
  exit 1
fi
# The list's lines are a DLL and names; "#" starts a comment.
mapfile -t allowed_entries < <(awk '{ sub(/#.*/, ""); for (i = 2; i <= NF; i++) print tolower($1), $i }' "$allowed")
status=0
for entry in "${imports[@]}"; do
  if printf '%s\n' "${allowed_entries[@]}" | grep -qxF -- "$entry"; then
    echo "ok   $entry"
  else
    echo "FAIL $entry is not in $(basename "$allowed")"
    status=1
  fi
done
echo "${#imports[@]} imported functions"
exit $status
