#!/usr/bin/env bash
# Writes the shortcuts with the portable shell and reads each back with lnkinfo (liblnk):
# the local path must be the target and the description the one given; the folder's
# shortcut must carry the directory attribute.
set -euo pipefail
writer=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v lnkinfo >/dev/null || { echo "lnkinfo is not installed (Debian package liblnk-utils)" >&2; exit 1; }
"$writer" "$work/c" >"$work/links"
count=0
while IFS='|' read -r link target description; do
  info=$(lnkinfo "$link")
  # lnkinfo prints ANSI strings from code page 1252 as UTF-8.
  expected_target=$(printf '%s' "$target" | iconv -f CP1252 -t UTF-8)
  path=$(printf '%s\n' "$info" | sed -n 's/^[[:space:]]*Local path[[:space:]]*: //p')
  text=$(printf '%s\n' "$info" | sed -n 's/^[[:space:]]*Description[[:space:]]*: //p')
  [ "$path" = "$expected_target" ] || { echo "$link: local path '$path', expected '$expected_target'" >&2; exit 1; }
  [ "$text" = "$description" ] || { echo "$link: description '$text', expected '$description'" >&2; exit 1; }
  case "$link" in
    *"Install Folder.lnk")
      printf '%s\n' "$info" | grep -q 'FILE_ATTRIBUTE_DIRECTORY' || { echo "$link: not marked as a folder" >&2; exit 1; } ;;
  esac
  echo "ok: $(basename "$link") -> $path ($text)"
  count=$((count + 1))
done <"$work/links"
[ "$count" -eq 3 ] || { echo "expected 3 links, read $count" >&2; exit 1; }
