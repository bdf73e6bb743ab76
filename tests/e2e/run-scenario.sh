#!/usr/bin/env bash
# Runs one end-to-end scenario: the driver under Wine on a private Xvfb screen,
# then the checks on the screenshots it took.
#   run-scenario.sh PREFIX DRIVER SCENARIO OUT CONTENT EDITION=SETUP.EXE...
# Exit status 77: the programs are 32-bit and 32-bit programs cannot run here.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/wine-lib.sh" || exit 1
prefix=$1 driver=$2 scenario=$3 out=$4 content=$5
shift 5

"$here/e2e-prefix.sh" "$prefix" "$driver" || exit $?
export WINEPREFIX=$prefix
rm -rf "$out"
mkdir -p "$out"
wine_start_xvfb || exit 1

args=(--scenario "$scenario" --out "$out" --content "$content")
for exe in "$@"; do args+=(--exe "$exe"); done
wine_run "$driver" "${args[@]}" 2> >(grep -v 'FS volume label and serial are not available' >&2)
status=$?
# The prefix is shared by the scenarios one after another: let Wine finish
# writing its registry before the next one starts.
wine_wait || status=$((status + 1))

if ls "$out"/*.png >/dev/null 2>&1; then
  /usr/bin/python3 "$here/check_screens.py" "$out" "$content" || status=$((status + 1))
fi
exit $status
