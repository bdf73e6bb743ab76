#!/usr/bin/env bash
# Runs one end-to-end scenario: the driver under Wine on a private Xvfb screen,
# then the checks on the screenshots it took.
#   run-scenario.sh PREFIX DRIVER SCENARIO OUT CONTENT EDITION=SETUP.EXE...
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1 driver=$2 scenario=$3 out=$4 content=$5
shift 5
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

"$here/e2e-prefix.sh" "$prefix" || exit 1
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$out"
mkdir -p "$out"

# A screen of our own, 24 bits deep so that picture colours arrive unchanged.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 1 200); do [ -s "$out/display" ] && break; sleep 0.05; done
if [ ! -s "$out/display" ]; then
  echo "Xvfb did not start" >&2
  kill "$xvfb" 2>/dev/null
  exit 1
fi
export DISPLAY=:$(head -n1 "$out/display")
trap 'kill $xvfb 2>/dev/null' EXIT

args=(--scenario "$scenario" --out "$out" --content "$content")
for exe in "$@"; do args+=(--exe "$exe"); done
"$wine" "$driver" "${args[@]}" 2> >(grep -v 'FS volume label and serial are not available' >&2)
status=$?
# The prefix is shared by the scenarios one after another: let Wine finish
# writing its registry before the next one starts.
timeout 60 "$wineserver" -w || { echo "Wine did not shut down; stopping it" >&2; "$wineserver" -k; status=$((status + 1)); }

if ls "$out"/*.png >/dev/null 2>&1; then
  /usr/bin/python3 "$here/check_screens.py" "$out" "$content" || status=$((status + 1))
fi
exit $status
