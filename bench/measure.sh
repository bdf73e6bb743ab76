#!/usr/bin/env bash
# Figures for the notes: per setup.exe the file size, its resources (.rsrc) and the
# code (everything else: code, data, imports, relocations, headers), and, under Wine,
# the time from process start to the first paint and the time of a default install
# (Quorvel, Office 2000), as medians over several runs, for the first build.
#   measure.sh BUILD [OTHER_BUILD] [RUNS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
e2e=$root/tests/e2e
builds=("$(cd "$1" && pwd)")
[ -n "${2:-}" ] && builds+=("$(cd "$2" && pwd)")
runs=${3:-9}

echo "== Sizes (bytes; .rsrc is the resource section, code the rest of the file)"
printf "%-32s %10s %10s %10s\n" "file" "size" ".rsrc" "code"
for build in "${builds[@]}"; do
  for exe in "$build"/setup*.exe; do
    [ -f "$exe" ] || continue
    rsrc=$(objdump -h "$exe" | awk '$2 == ".rsrc" { print $3 }')
    size=$(stat -c %s "$exe")
    printf "%-32s %10d %10d %10d\n" "$(basename "$build")/$(basename "$exe")" "$size" "$((16#${rsrc:-0}))" \
      "$((size - 16#${rsrc:-0}))"
  done
done

# Times under Wine, for the first build (its setup.exe, driver and e2e prefix).
build=${builds[0]}
out=$build/e2e/measure
mkdir -p "$out"
{
  printf '%s\n' reset "reg Z:$(echo "$e2e/scenarios/office2000.reg" | tr / '\\')" "mkdir C:\\Dictionaries" \
    "mkdir C:\\Office2000\\Templates"
  for _ in $(seq 1 "$runs"); do
    printf '%s\n' launch "page 1" "click 10001" "page 2" "click 10001" "page 3" "click 10001" "page 4" "click 10001" "exit 0"
  done
} >"$out/timing.scenario"
"$e2e/run-scenario.sh" "$build/e2e/wineprefix" "$build/tests/e2e/e2e_driver.exe" "$out/timing.scenario" "$out/run" \
  "$root/resources/content" "quorvel=$build/setup.exe" >"$out/timing.log" 2>&1
status=$?
[ "$status" -eq 77 ] && { grep -A3 SKIPPED "$out/timing.log"; exit 0; }
[ "$status" -eq 0 ] || { echo "the timing runs failed; see $out/timing.log" >&2; exit 1; }
echo
echo "== $(basename "$build") under Wine, $runs runs in one session (ms; median, min, max)"
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
