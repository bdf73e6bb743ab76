#!/usr/bin/env bash
# The run command: setup.exe under Wine in the project's private prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exe=$here/build/win64/setup.exe
if [ ! -f "$exe" ]; then
  echo "setup.exe has not been built yet (build/win64/setup.exe is missing)." >&2
  exit 1
fi
exec "$here/tools/wine-run" "$exe"
