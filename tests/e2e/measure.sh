#!/usr/bin/env bash
# Figures for the notes: setup.exe sizes (and how much of each is resources) and,
# under Wine, the time from process start to the first paint and the time of a
# default install (Quorvel, Office 2000), as medians over several runs.
#   measure.sh WIN64_BUILD [WIN32_BUILD] [RUNS]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
win64=$(cd "$1" && pwd)
win32=${2:-}
runs=${3:-9}

echo "== Sizes (bytes; .rsrc is the resource section)"
printf "%-40s %10s %10s\n" "file" "size" ".rsrc"
for exe in "$win64"/setup*.exe ${win32:+"$win32"/setup*.exe}; do
  [ -f "$exe" ] || continue
  case $exe in *"$win64"*) tool=x86_64-w64-mingw32-objdump ;; *) tool=i686-w64-mingw32-objdump ;; esac
  rsrc=$($tool -h "$exe" | awk '$2 == ".rsrc" { print $3 }')
  printf "%-40s %10d %10d\n" "$(basename "$(dirname "$exe")")/$(basename "$exe")" "$(stat -c %s "$exe")" "$((16#${rsrc:-0}))"
done

out=$win64/e2e/measure
mkdir -p "$out"
scenario=$out/timing.scenario
regfile="Z:$(echo "$here/scenarios/office2000.reg" | tr / '\\')"
{
  echo "reset"
  echo "reg $regfile"
  echo "mkdir C:\\Dictionaries"
  echo "mkdir C:\\Office2000\\Templates"
  for _ in $(seq 1 "$runs"); do
    printf '%s\n' launch "page 1" "click 10001" "page 2" "click 10001" "page 3" "click 10001" "page 4" "click 10001" "exit 0"
  done
} >"$scenario"
"$here/run-scenario.sh" "$win64/e2e/wineprefix" "$win64/tests/e2e/e2e_driver.exe" "$scenario" "$out/run" \
  "$root/resources/content" "quorvel=$win64/setup.exe" >"$out/timing.log" 2>&1 || {
  echo "the timing runs failed; see $out/timing.log" >&2
  exit 1
}
echo
echo "== Under Wine, $runs runs in one session (ms; median, min, max)"
/usr/bin/python3 - "$out/timing.log" <<'PY'
import re, statistics, sys
text = open(sys.argv[1]).read()
paint = [float(x) for x in re.findall(r"first-paint ([\d.]+) ms", text)]
screen = [float(x) for x in re.findall(r"on-screen ([\d.]+) ms", text)]
install = [float(x) for x in re.findall(r"TIMING page4 ([\d.]+) ms", text)]
for name, values in (("start to first paint (captions set)", paint),
                     ("start to frame on the screen", screen),
                     ("Install pressed to finish page", install)):
    if values:
        print("%-38s %8.1f %8.1f %8.1f  (%d runs; the first, with Wine just started: %.1f)"
              % (name, statistics.median(values), min(values), max(values), len(values), values[0]))
PY
