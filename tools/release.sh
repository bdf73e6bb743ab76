#!/usr/bin/env bash
# Makes what we hand out, from the 32-bit build: DIST/<Edition>/setup.exe for the three
# editions and DIST/SHA256SUMS.
#   release.sh [BUILD [DIST]]        (default build/win32 and dist)
# With VESSORA_SIGN_PFX (a PKCS#12 file) and VESSORA_SIGN_PASS (its password) set, each
# setup.exe is Authenticode-signed with osslsigncode before the sums are made; without
# them the release is unsigned, and says so. The release is put together beside DIST and
# replaces it only when complete: a failure leaves DIST as it was.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/win32}" && pwd)
dist=${2:-$here/dist}
fail() {
  echo "release: $*" >&2
  exit 1
}

# The build's own edition is setup.exe; the other two are setup-<edition>.exe.
main=$(sed -n 's/^VESSORA_EDITION:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[ -n "$main" ] || fail "$build is not a configured build folder (no VESSORA_EDITION in CMakeCache.txt)"
declare -A source
for edition in Standard Professional Quorvel; do
  exe=setup-${edition,,}.exe
  [ "$edition" != "$main" ] || exe=setup.exe
  source[$edition]=$build/$exe
  [ -f "${source[$edition]}" ] || fail "${source[$edition]} is missing; build the win32 preset first (make build-win32)"
  i686-w64-mingw32-objdump -f "${source[$edition]}" | grep -q 'file format pei-i386' ||
    fail "${source[$edition]} is not a 32-bit Windows program"
done

signing=no
if [ -n "${VESSORA_SIGN_PFX+set}" ] || [ -n "${VESSORA_SIGN_PASS+set}" ]; then
  [ -n "${VESSORA_SIGN_PFX:-}" ] || fail "VESSORA_SIGN_PASS is set but VESSORA_SIGN_PFX (the PKCS#12 file) is not"
  [ -n "${VESSORA_SIGN_PASS+set}" ] || fail "VESSORA_SIGN_PFX is set but VESSORA_SIGN_PASS (its password) is not"
  [ -f "$VESSORA_SIGN_PFX" ] && [ -r "$VESSORA_SIGN_PFX" ] ||
    fail "VESSORA_SIGN_PFX: cannot read the certificate file $VESSORA_SIGN_PFX"
  command -v osslsigncode >/dev/null || fail "osslsigncode is not installed (apt-get install osslsigncode)"
  # Older PKCS#12 files use ciphers that OpenSSL 3 keeps in its legacy provider.
  opens() { openssl pkcs12 "$@" -in "$VESSORA_SIGN_PFX" -passin env:VESSORA_SIGN_PASS -noout >/dev/null 2>&1; }
  opens || opens -legacy ||
    fail "cannot open $VESSORA_SIGN_PFX with VESSORA_SIGN_PASS: the password is wrong, or the file is not a PKCS#12 certificate with its key"
  export VESSORA_SIGN_PASS
  signing=yes
fi

mkdir -p "$(dirname "$dist")"
stage=$(mktemp -d "$dist.partial.XXXXXX")
trap 'rm -rf "$stage"' EXIT
for edition in Standard Professional Quorvel; do
  mkdir "$stage/$edition"
  if [ "$signing" = yes ]; then
    # The password goes to osslsigncode through a pipe, never on its command line.
    osslsigncode sign -pkcs12 "$VESSORA_SIGN_PFX" -readpass <(printf '%s' "$VESSORA_SIGN_PASS") -h sha256 \
      -n "Vessora $edition Edition Setup" -in "${source[$edition]}" -out "$stage/$edition/setup.exe" \
      >"$stage/sign.log" 2>&1 || fail "signing the $edition setup.exe failed: $(cat "$stage/sign.log")"
    rm -f "$stage/sign.log"
  else
    cp "${source[$edition]}" "$stage/$edition/setup.exe"
  fi
done
(cd "$stage" && sha256sum Standard/setup.exe Professional/setup.exe Quorvel/setup.exe >SHA256SUMS &&
  sha256sum --quiet -c SHA256SUMS) || fail "the checksums of the release do not verify"

rm -rf "$dist"
mv "$stage" "$dist"
trap - EXIT
chmod 755 "$dist"
echo "Release in $dist:"
(cd "$dist" && cat SHA256SUMS)
if [ "$signing" = yes ]; then
  echo "Each setup.exe is signed with the certificate in $VESSORA_SIGN_PFX."
else
  echo "UNSIGNED: VESSORA_SIGN_PFX and VESSORA_SIGN_PASS are not set, so no setup.exe is signed."
fi
