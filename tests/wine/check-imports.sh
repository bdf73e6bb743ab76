#!/usr/bin/env bash
# Lists every function a Windows program imports, DLL by DLL, and fails on any that is
# not in the allow-list (lines of a DLL and names; "#" starts a comment): the calls the
# program may make, each one present in Windows 2000. A new call has to be added to the
# list on purpose, after checking that it is that old.
# Usage: check-imports.sh OBJDUMP PROGRAM.EXE   (the allow-list is imports.allow beside this
#        script; exit 77 when the program is not built)
set -euo pipefail
objdump=$1 program=$2 allowed=$(dirname "$0")/imports.allow
[ -f "$program" ] || { echo "skipped: $program has not been built"; exit 77; }
list=$(mktemp)
trap 'rm -f "$list"' EXIT
# "DLL Name: X" opens a DLL's list; its lines are "hint-rva hint name" up to a blank line.
"$objdump" -p "$program" | awk '
  /^[ \t]*DLL Name: / { dll = tolower($3); next }
  dll != "" && NF == 0 { dll = "" }
  dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print dll, $3 }' | sort -u >"$list"
[ -s "$list" ] || { echo "FAIL: no imports found in $program"; exit 1; }
awk 'NR == FNR { sub(/#.*/, ""); for (i = 2; i <= NF; i++) ok[tolower($1) " " $i] = 1; next }
     { print (($0 in ok) ? "ok   " : "FAIL ") $0; bad += !($0 in ok) }
     END { print FNR " imported functions, " bad + 0 " not in the allow-list"; exit bad > 0 }' \
  "$allowed" "$list"
