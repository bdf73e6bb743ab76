#!/usr/bin/env bash
# make release, unsigned and signed with a throwaway self-signed certificate: the sums
# verify, the signatures verify, the resource catalogue is what the build made, and a
# missing or wrong certificate or password stops the release with a clear message and
# leaves the previous release as it was.
#   release-check.sh SOURCE-DIR BUILD-DIR
set -uo pipefail
release=$1/tools/release.sh build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # check WHAT COMMAND...
  if "${@:2}" >"$work/check" 2>&1; then echo "ok   $1"; else echo "FAIL $1"; sed 's/^/     /' "$work/check"; failures=$((failures + 1)); fi
}
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vessora test signer" \
  -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null &&
  openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass:s3cret -out "$work/test.pfx" ||
  { echo "FAIL cannot make a test certificate"; exit 1; }

check "unsigned release, saying so" sh -c "env -u VESSORA_SIGN_PFX -u VESSORA_SIGN_PASS '$release' '$build' '$work/unsigned' |
  grep UNSIGNED"
check "signed release" env VESSORA_SIGN_PFX="$work/test.pfx" VESSORA_SIGN_PASS=s3cret "$release" "$build" "$work/dist"
check "SHA256SUMS verify" sh -c "cd '$work/unsigned' && sha256sum -c SHA256SUMS && cd '$work/dist' && sha256sum -c SHA256SUMS"
for edition in Standard Professional Quorvel; do
  signed=$work/dist/$edition/setup.exe
  check "$edition: signature verifies" osslsigncode verify -CAfile "$work/cert.pem" -in "$signed"
  check "$edition: resource catalogue unchanged" \
    diff <(wrestool -l "$work/unsigned/$edition/setup.exe") <(wrestool -l "$signed")
  check "$edition: carries that edition" sh -c "wrestool -x --raw --type=6 '$signed' | iconv -f UTF-16LE -t UTF-8 -c |
    grep -aq 'Vessora $edition Edition'"
done

# Faults: each stops with its message, and the signed release in dist stays whole.
sums=$(cat "$work/dist/SHA256SUMS")
echo "not a certificate" >"$work/bad.pfx"
while IFS='|' read -r what pfx pass message; do
  env -u VESSORA_SIGN_PFX -u VESSORA_SIGN_PASS ${pfx:+VESSORA_SIGN_PFX="$work/$pfx"} ${pass:+VESSORA_SIGN_PASS="$pass"} \
    "$release" "$build" "$work/dist" >"$work/out" 2>&1
  status=$?
  check "$what: stops with \"$message\"" sh -c "[ $status -ne 0 ] && grep -q '$message' '$work/out'"
  check "$what: dist unchanged" sh -c "cd '$work/dist' && [ \"\$(cat SHA256SUMS)\" = '$sums' ] && sha256sum -c SHA256SUMS &&
    [ -z \"\$(ls -d '$work'/dist.partial.* 2>/dev/null)\" ]"
done <<'EOF'
wrong password|test.pfx|wrong|the password is wrong
missing certificate|missing.pfx|s3cret|cannot read the certificate file
not a certificate|bad.pfx|s3cret|not a PKCS#12 certificate
no password|test.pfx||VESSORA_SIGN_PASS (its password) is not
EOF
echo "$failures failed"
exit $((failures > 0))
