#!/usr/bin/env bash
# Checks the resources of a built Windows executable with independent tools:
#   check_resources.sh EXE EDITION BYTES_DIR RESOURCE_LIST CONTENT_DIR MSPACK_EXPAND
# wrestool (icoutils) lists and extracts them; every one must be under language 0x1409
# (5129), the catalogue must be exactly the edition's (BYTES_DIR holds the bytes the
# build meant to carry, one TYPE_NAME.bin each), and each SZDD item must expand with
# msexpand and with libmspack to its content file.
set -euo pipefail
exe=$1 edition=$2 bytes=$3 list=$4 content=$5 mspack_expand=$6
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$exe" ] || { echo "FAIL: no $exe"; exit 1; }
wrestool -l "$exe" > "$work/listing"
: > "$work/found"
while read -r type name language _; do
  type=${type#--type=}
  name=${name#--name=}
  name=${name//\'/}
  language=${language#--language=}
  [ "$language" = 5129 ] || fail "$type/$name is under language $language, not 5129 (0x1409)"
  echo "${type}_${name}" >> "$work/found"
done < "$work/listing"
sort -o "$work/found" "$work/found"
(cd "$bytes" && ls *.bin | sed 's/\.bin$//' | sort) > "$work/expected"
if ! diff -u "$work/expected" "$work/found" > "$work/diff"; then
  fail "the catalogue differs from the $edition edition's:"; cat "$work/diff"
fi

# Every resource byte for byte as the build meant it.
while read -r key; do
  type=${key%%_*} name=${key#*_}
  wrestool -x --raw --type="$type" --name="$name" "$exe" > "$work/res" 2>/dev/null || true
  cmp -s "$work/res" "$bytes/$key.bin" || fail "$type/$name differs from what the build made"
done < "$work/expected"

# The payload items of this edition, by the list: each expands to its content file.
awk -v e="$edition" '$1 == "item" && ($3 == "all" || index("," $3 ",", "," e ",")) { print $2, $4 }' "$list" > "$work/items"
while read -r item file; do
  wrestool -x --raw --type=10 --name="$item" "$exe" > "$work/item" 2>/dev/null || { fail "$item missing"; continue; }
  if [[ $item == *_ ]]; then
    [ "$(head -c 4 "$work/item")" = SZDD ] || fail "$item has no SZDD header"
    msexpand < "$work/item" > "$work/msexpand" 2>/dev/null || fail "msexpand failed on $item"
    "$mspack_expand" "$work/item" "$work/mspack" || fail "libmspack failed on $item"
    header=$(od -An -tu4 -j10 -N4 "$work/item" | tr -d ' ')
    for out in msexpand mspack; do
      size=$(stat -c %s "$work/$out")
      [ "$size" = "$header" ] || fail "$item expands with $out to $size bytes, the header says $header"
      cmp -s "$work/$out" "$content/$file" || fail "$item expanded with $out differs from $file"
    done
    echo "$item: $(stat -c %s "$work/item") stored, expands to $(stat -c %s "$work/msexpand") (msexpand) and $(stat -c %s "$work/mspack") (libmspack)"
  else
    cmp -s "$work/item" "$content/$file" || fail "$item differs from $file"
    echo "$item: $(stat -c %s "$work/item") plain bytes"
  fi
done < "$work/items"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s) in $exe"
  exit 1
fi
echo "$exe: the $edition catalogue is complete under language 0x1409 ($(wc -l < "$work/found") resources)"
