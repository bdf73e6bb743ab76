#!/usr/bin/env bash
# The program's folders depend one way only: shell -> pages -> install -> office -> resources and platform.
# Fails when a folder includes one above it. The backends sit beside platform/ and may use resources/;
# the Windows entry (platform/win32/win_main.cpp) is the top of the program and includes the shell.
set -uo pipefail
root=$1
below() {  # the folders a folder may include
  case $1 in
    shell) echo "shell pages install office resources platform" ;;
    pages) echo "pages install office resources platform" ;;
    install) echo "install office resources platform" ;;
    office) echo "office resources platform" ;;
    resources) echo "resources" ;;
    platform) echo "platform" ;;
    platform/portable | platform/win32) echo "platform resources" ;;
  esac
}
status=0
for folder in shell pages install office resources platform platform/portable platform/win32; do
  allowed=" $(below "$folder") "
  for file in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
    [ -f "$file" ] && [ "${file##*/}" != win_main.cpp ] || continue
    while IFS= read -r used; do
      case $allowed in
        *" $used "*) ;;
        *) echo "${file#"$root"/} includes $used/, a folder above $folder/"; status=1 ;;
      esac
    done < <(sed -n 's|^#include "\([a-z_]*\(/portable\|/win32\)\{0,1\}\)/[^/]*"$|\1|p' "$file" | sort -u)
  done
done
[ $status -eq 0 ] && echo "every folder includes only itself and the folders below it"
exit $status
