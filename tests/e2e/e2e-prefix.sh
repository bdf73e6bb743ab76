#!/usr/bin/env bash
# Makes the Wine prefix for the end-to-end scenarios once; later calls find it ready.
#   e2e-prefix.sh PREFIX PROGRAM    (the prefix runs programs of PROGRAM's kind, 32- or 64-bit)
# Wine draws the window frames itself (no window manager runs under Xvfb), so the
# screenshots show the window as Windows would.
set -uo pipefail
. "$(dirname "$0")/../../tools/wine-lib.sh" || exit 1
unmanaged_frames() {
  DISPLAY= wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 && "$WINESERVER" -w
}
machine=$(wine_machine "$2")
wine_prefix "$1" "${machine:-amd64}" unmanaged_frames
