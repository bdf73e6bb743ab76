#!/usr/bin/env bash
# The run command: the 32-bit setup.exe (the one users get) under Wine in the
# project's private prefix (build/wineprefix, or $WINEPREFIX). VESSORA_BUILD names
# another build folder (build/win64 for the 64-bit one).
#
# With a display the wizard opens for you to use.
# Without one, setup.exe runs on a virtual screen (Xvfb) and is walked through
# the default path on a machine set up with Office 2000: each page's title,
# controls and captions are printed and the page is saved as
# build/screenshots/page1.png ... page4.png; then the installed files,
# InstallLog.txt and the registry entries the install made are printed.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tools/wine-lib.sh" || exit 1
build=$(realpath -m "${VESSORA_BUILD:-$here/build/win32}")
exe=$build/setup.exe
driver=$build/tests/e2e/e2e_driver.exe
if [ ! -f "$exe" ]; then
  echo "setup.exe has not been built yet ($exe is missing); run 'make run'." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ ! -f "$driver" ]; then
  echo "No display, and the walk-through driver ($driver) has not been built; run 'make run'." >&2
  exit 1
fi
machine=$(wine_machine "$exe")
prefix=${WINEPREFIX:-$here/build/wineprefix}
echo "setup.exe: $exe ($([ "$machine" = i386 ] && echo 32-bit || echo 64-bit)); Wine prefix: $prefix"
wine_32bit_mode
[ "$machine" = i386 ] && [ "$WINE32_MODE" = emulated ] &&
  echo "32-bit programs run under qemu-i386 here: this takes minutes."
wine_prefix "$prefix" "$machine"
status=$?
if [ "$status" -eq 77 ]; then
  echo "The 32-bit setup.exe cannot run on this machine (see above). The 64-bit one can:" >&2
  echo "  make build-win64 && VESSORA_BUILD=build/win64 tools/run-setup.sh" >&2
fi
[ "$status" -eq 0 ] || exit "$status"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting setup.exe under Wine."
  wine_run "$exe"
  exit $?
fi

shots=$here/build/screenshots
mkdir -p "$shots"
rm -f "$shots"/page*.png "$shots"/page*.txt
echo "No display (\$DISPLAY is not set): setup.exe runs on a virtual screen and is walked"
echo "through the default path. Pictures of the pages go to $shots/."
wine_start_xvfb || exit 1
status=0
wine_run "$driver" --scenario "$here/tests/e2e/scenarios/walk.scenario" --out "$shots" \
  --content "$here/resources/content" --exe "quorvel=$exe" || status=$?
# Let Wine write the prefix's registry back before the screen goes away.
wine_wait || true
echo
if [ "$status" -eq 0 ]; then
  echo "Done. Screenshots: $(cd "$shots" && ls page*.png | sed "s|^|$shots/|" | tr '\n' ' ')"
else
  echo "The walk through the wizard reported $status problem(s); see above." >&2
fi
exit "$status"
