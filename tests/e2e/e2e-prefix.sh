#!/usr/bin/env bash
# Makes the Wine prefix for the end-to-end scenarios once; later calls find it ready.
#   e2e-prefix.sh PREFIX
# Wine draws the window frames itself (no window manager runs under Xvfb), so the
# screenshots show the window as Windows would.
set -euo pipefail
prefix=$1
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=/usr/lib/wine/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.e2e-ready" ]; then
  rm -rf "$prefix"
  mkdir -p "$prefix"
  start=$(date +%s)
  DISPLAY= "$wine" wineboot -i >/dev/null 2>&1 || true
  DISPLAY= "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  "$wineserver" -w
  [ -f "$prefix/system.reg" ] || { echo "wineboot did not make $prefix" >&2; exit 1; }
  touch "$prefix/.e2e-ready"
  echo "Wine prefix $prefix made in $(( $(date +%s) - start )) s"
else
  echo "Wine prefix $prefix ready"
fi
