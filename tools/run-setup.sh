#!/usr/bin/env bash
# The run command: setup.exe under Wine in the project's private prefix.
# With a display the wizard opens for you to use. Without one, the program is walked
# through natively (every page printed) and setup.exe is started under a virtual
# display, checked and closed, so the command never waits for a window nobody sees.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exe=$here/build/win64/setup.exe
if [ ! -f "$exe" ]; then
  echo "setup.exe has not been built yet (build/win64/setup.exe is missing); run 'make run'." >&2
  exit 1
fi

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting setup.exe under Wine (prefix: ${WINEPREFIX:-$here/build/wineprefix})."
  exec "$here/tools/wine-run" "$exe"
fi

echo "No display (\$DISPLAY is not set): the wizard cannot be shown here."
native=$here/build/native/tools/setup_native
if [ -x "$native" ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/C/Program Files"
  echo
  echo "== The wizard run natively over the recording window system (drive C: is $work/C)"
  mkdir -p "$work/C/Dictionaries" "$work/C/Program Files/Microsoft Office/Templates"
  "$native" --drive "C=$work/C" --script "next,accept,set-dict=C:\\Dictionaries,install,finish"
fi
check=$here/build/win64/tests/wine/setup_start_check.exe
if [ -f "$check" ]; then
  echo
  echo "== setup.exe under Wine with a virtual display: start, find the window, close it"
  timeout 300 "$here/tools/wine-run" "$check" "$exe"
fi
