#!/usr/bin/env bash
# The run command: setup.exe under Wine in the project's private prefix
# (build/wineprefix, or $WINEPREFIX).
#
# With a display the wizard opens for you to use.
# Without one, setup.exe runs on a virtual screen (Xvfb) and is walked through
# the default path on a machine set up with Office 2000: each page's title,
# controls and captions are printed and the page is saved as
# build/screenshots/page1.png ... page4.png; then the installed files,
# InstallLog.txt and the registry entries the install made are printed.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${VESSORA_WIN64_BUILD:-$here/build/win64}
exe=$build/setup.exe
driver=$build/tests/e2e/e2e_driver.exe
if [ ! -f "$exe" ]; then
  echo "setup.exe has not been built yet ($exe is missing); run 'make run'." >&2
  exit 1
fi

export WINEPREFIX=${WINEPREFIX:-$here/build/wineprefix}
if [ -n "${DISPLAY:-}" ]; then
  echo "Starting setup.exe under Wine (prefix: $WINEPREFIX)."
  exec "$here/tools/wine-run" "$exe"
fi

if [ ! -f "$driver" ]; then
  echo "No display, and the walk-through driver ($driver) has not been built; run 'make run'." >&2
  exit 1
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
shots=$here/build/screenshots
mkdir -p "$shots"
rm -f "$shots"/page*.png "$shots"/page*.txt

echo "No display (\$DISPLAY is not set): setup.exe runs on a virtual screen and is walked"
echo "through the default path. Pictures of the pages go to $shots/."
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Making the Wine prefix $WINEPREFIX (once)..."
  "$here/tools/wine-run" wineboot -i >/dev/null 2>&1 || true
  "$wineserver" -w || true
fi

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -f "$display_file"' EXIT
for _ in $(seq 1 200); do [ -s "$display_file" ] && break; sleep 0.05; done
[ -s "$display_file" ] || { echo "Xvfb did not start." >&2; exit 1; }
export DISPLAY=:$(head -n1 "$display_file")

status=0
"$wine" "$driver" --scenario "$here/tests/e2e/scenarios/walk.scenario" --out "$shots" \
  --content "$here/resources/content" --exe "quorvel=$exe" \
  2> >(grep -v 'FS volume label and serial are not available' >&2) || status=$?
# Let Wine write the prefix's registry back before the screen goes away.
"$wineserver" -w || true
echo
if [ "$status" -eq 0 ]; then
  echo "Done. Screenshots: $(cd "$shots" && ls page*.png | sed "s|^|$shots/|" | tr '\n' ' ')"
else
  echo "The walk through the wizard reported $status problem(s); see above." >&2
fi
exit "$status"
