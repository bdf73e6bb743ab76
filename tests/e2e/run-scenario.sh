#!/usr/bin/env bash
# Runs one end-to-end scenario: the driver under Wine on a private Xvfb screen,
# then the checks on the screenshots it took. The scenarios share the prefix,
# made once for programs of the driver's kind (32- or 64-bit); with no scenario
# given, only that is done.
#   run-scenario.sh PREFIX DRIVER [SCENARIO OUT CONTENT EDITION=SETUP.EXE...]
# Exit status 77: the programs are 32-bit and 32-bit programs cannot run here.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-lib.sh" || exit 1
prefix=$1 driver=$2

# Wine draws the window frames itself (no window manager runs under Xvfb), so the
# screenshots show the window as Windows would.
unmanaged_frames() {
  DISPLAY= wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 && "$WINESERVER" -w
}
machine=$(wine_machine "$driver")
wine_prefix "$prefix" "${machine:-amd64}" unmanaged_frames || exit $?
[ $# -gt 2 ] || exit 0
scenario=$3 out=$4 content=$5
shift 5
rm -rf "$out"
mkdir -p "$out"
wine_start_xvfb || exit 1

# The DLLs a "plant" step puts beside setup.exe: Wine takes them from the program's folder
# first, as Windows does with a DLL that is not a known DLL. Wine reads this when each
# process starts.
planted=$(sed -n 's/^plant[[:blank:]]\+//p' "$scenario" | xargs | tr ' ' ',')
[ -z "$planted" ] || export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$planted=n,b"

args=(--scenario "$scenario" --out "$out" --content "$content")
for exe in "$@"; do args+=(--exe "$exe"); done
wine_run "$driver" "${args[@]}"
status=$?
# The prefix is shared by the scenarios one after another: let Wine finish
# writing its registry before the next one starts.
wine_wait || status=$((status + 1))

if ls "$out"/*.png >/dev/null 2>&1; then
  /usr/bin/python3 "$here/check_screens.py" "$out" "$content" || status=$((status + 1))
fi
exit $status
