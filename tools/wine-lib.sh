# Wine for the project's scripts; sourced, not run:  . tools/wine-lib.sh
#
#   wine_machine FILE          i386, amd64, or nothing when FILE is not a Windows program
#   wine_32bit_mode            sets WINE32_MODE: how 32-bit programs run here (native,
#                              emulated or none; WINE32_REASON says why when none)
#   wine_prefix PREFIX MACHINE [HOOK]
#                              makes the prefix once, under a lock, able to run programs of
#                              MACHINE (i386 or amd64); a prefix that cannot run 32-bit
#                              programs is remade for i386. HOOK runs once in a new prefix.
#   wine_run FILE ARGS...      runs FILE (a Windows program, or a Wine command such as
#                              wineboot) with the loader for its machine: wine for 32-bit,
#                              wine64 for 64-bit; without Wine's note that the drives have
#                              no volume label and serial
#   wine_wait                  waits (at most 60 s) for the prefix's Wine to end, then stops it
#   wine_start_xvfb            a private virtual screen for the rest of the script (DISPLAY);
#                              it takes the script's EXIT trap to stop it
#
# Exit status 77 from wine_prefix and wine_run means 32-bit programs cannot run on this
# machine; the message says what is missing.
#
# 32-bit programs need Wine's i386 side (wine32:i386) and a kernel that runs 32-bit
# programs. Where the kernel does not (32-bit emulation disabled), VESSORA_WINE32_EMULATE=1
# runs them under qemu-i386 in a private user namespace: correct, but minutes a program.

WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installers; and no winemenubuilder, which Wine's shell starts on each saved
# shortcut and which holds the .lnk open for a moment after setup.exe has exited.
WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
export WINEDEBUG WINEDLLOVERRIDES

WINE64=/usr/lib/wine/wine64
[ -x "$WINE64" ] || WINE64=$(command -v wine64 || true)
WINE32=/usr/lib/wine/wine
[ -x "$WINE32" ] || WINE32=""
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || true)
if [ -z "$WINE64" ] || [ -z "$WINESERVER" ]; then
  echo "Wine is not installed (no wine64 or wineserver); run tools/install-deps.sh." >&2
  return 1 2>/dev/null || exit 1
fi

wine_machine() {
  [ -f "$1" ] || return 0
  /usr/bin/python3 - "$1" <<'PY'
import struct, sys
with open(sys.argv[1], "rb") as f:
    head = f.read(4096)
if head[:2] == b"MZ" and len(head) >= 64:
    at = struct.unpack_from("<I", head, 60)[0]
    if head[at:at + 4] == b"PE\0\0":
        print({0x14C: "i386", 0x8664: "amd64"}.get(struct.unpack_from("<H", head, at + 4)[0], ""))
PY
}

WINE32_MODE=""
WINE32_REASON=""
wine_32bit_mode() {
  if [ -z "$WINE32_MODE" ]; then
    if [ -z "$WINE32" ]; then
      WINE32_MODE=none
      WINE32_REASON="Wine's 32-bit side is not installed. Run tools/install-deps.sh, or as root:
  dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386"
    elif "$WINE32" --version >/dev/null 2>&1; then
      WINE32_MODE=native
    elif [ "${VESSORA_WINE32_EMULATE:-0}" = 1 ] && [ -x /usr/bin/qemu-i386-static ] &&
      unshare --user --map-root-user --mount true 2>/dev/null; then
      WINE32_MODE=emulated
    else
      WINE32_MODE=none
      WINE32_REASON="this machine's kernel does not run 32-bit programs (its 32-bit emulation is off;
  it comes back when the kernel is booted with ia32_emulation=on), so Wine cannot start one.
  VESSORA_WINE32_EMULATE=1 runs them under qemu-i386 instead (apt-get install qemu-user-static;
  slow: minutes a program)."
    fi
  fi
}

# Runs a command in which 32-bit programs are handed to qemu-i386: a user namespace of its
# own with its own binfmt_misc, so nothing changes for the rest of the machine.
_wine_emulated() {
  unshare --user --map-root-user --mount -- /bin/bash -c '
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
    echo ":i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:FP" \
      >/proc/sys/fs/binfmt_misc/register || { echo "cannot hand 32-bit programs to qemu-i386" >&2; exit 1; }
    exec "$@"' wine-emulated "$@"
}

# The command that loads programs of a machine, in the array _wine_loader, or 77 with the reason.
_wine_pick_loader() {
  _wine_loader=("$WINE64")
  [ "$1" = i386 ] || return 0
  wine_32bit_mode
  case $WINE32_MODE in
    native) _wine_loader=("$WINE32") ;;
    emulated) _wine_loader=(_wine_emulated "$WINE32") ;;
    *)
      echo "SKIPPED: cannot run 32-bit Windows programs: $WINE32_REASON" >&2
      return 77
      ;;
  esac
}

# A prefix is ready when the marker is there and, for 32-bit programs, syswow64 holds
# Windows' 32-bit system (a prefix made before Wine's i386 side was installed has none).
_wine_prefix_ready() {
  [ -f "$1/.vessora-ready" ] && [ -f "$1/system.reg" ] &&
    { [ "$2" != i386 ] || [ -f "$1/drive_c/windows/syswow64/kernel32.dll" ]; }
}

wine_prefix() {
  local prefix machine=${2:-amd64} hook=${3:-} start status=0 log
  prefix=$(realpath -m "$1")  # Wine takes only an absolute prefix
  export WINEPREFIX=$prefix
  _wine_prefix_ready "$prefix" "$machine" && return 0
  # Only a prefix that is to run 32-bit programs needs the 32-bit side; one for 64-bit
  # programs is made with it when it can run here, so that it serves both.
  _wine_pick_loader "$machine" || return $?
  mkdir -p "$(dirname "$prefix")"
  exec {lock}>"$prefix.lock"
  flock "$lock"
  if ! _wine_prefix_ready "$prefix" "$machine"; then
    if [ -d "$prefix" ]; then
      echo "Remaking the Wine prefix $prefix (it was not finished, or cannot run 32-bit programs)" >&2
      "$WINESERVER" -k 2>/dev/null || true
      rm -rf "$prefix"
    fi
    mkdir -p "$prefix"
    start=$(date +%s)
    local boot=("$WINE64" wineboot -i)
    wine_32bit_mode
    case $WINE32_MODE in
      native) ;;
      emulated) [ "$machine" = i386 ] && boot=(_wine_emulated "${boot[@]}") ;;
      *) [ "$machine" = amd64 ] && echo "Note: $prefix is made for 64-bit programs only: $WINE32_REASON" >&2 ;;
    esac
    log=$(mktemp)
    { DISPLAY= "${boot[@]}" >"$log" 2>&1 && "$WINESERVER" -w; } || status=$?
    if [ "$status" -eq 0 ] && [ -n "$hook" ]; then "$hook" "$prefix" || status=$?; fi
    if [ "$status" -ne 0 ] || [ ! -f "$prefix/system.reg" ]; then
      echo "wineboot could not make the Wine prefix $prefix; what it said last:" >&2
      tail -n 5 "$log" >&2
      status=1
    elif [ "$machine" = i386 ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
      echo "the Wine prefix $prefix cannot run 32-bit programs although Wine's i386 side is installed" >&2
      status=1
    else
      touch "$prefix/.vessora-ready"
      echo "Wine prefix $prefix made in $(($(date +%s) - start)) s" >&2
    fi
  fi
  rm -f "${log:-}"
  flock -u "$lock"
  exec {lock}>&-
  return $status
}

wine_run() {
  local machine
  machine=$(wine_machine "$1")
  _wine_pick_loader "${machine:-amd64}" || return $?
  "${_wine_loader[@]}" "$@" 2> >(grep -v 'FS volume label and serial are not available' >&2)
}

wine_wait() {
  timeout 60 "$WINESERVER" -w || {
    echo "Wine did not shut down; stopping it" >&2
    "$WINESERVER" -k
    return 1
  }
}

wine_start_xvfb() {
  local display_file
  display_file=$(mktemp)
  # Xvfb picks a free display number itself and tells it on a pipe, so parallel runs never
  # race for one. 24 bits deep so that picture colours arrive unchanged.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  local xvfb=$!
  trap "kill $xvfb 2>/dev/null; rm -f '$display_file'" EXIT
  for _ in $(seq 1 200); do
    [ -s "$display_file" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$display_file" ] || ! kill -0 "$xvfb" 2>/dev/null; then
    echo "Xvfb did not start (is the xvfb package installed?)" >&2
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$display_file")"
}
