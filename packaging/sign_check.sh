#!/usr/bin/env bash
# Checks the release's signing (ich_sign_file, release.sh) on copies of the
# release's program and MSI with a throwaway self-signed certificate: what
# it signs verifies against that certificate, a file changed after signing
# does not, and a wrong password leaves the file as it was. Closes with
# "signing: N passed, N failed".
#   packaging/sign_check.sh EXE MSI
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../scripts/lib.sh"
. "$here/release.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ich_throwaway_cert "$work" || { echo "signing: no throwaway certificate"; exit 1; }
exe=$1
cp "$exe" "$work/a.exe" && cp "$exe" "$work/b.exe" && cp "$2" "$work/a.msi" || exit 1
export ICH_SIGN_PASSWORD=throwaway
verifies() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >/dev/null 2>&1; }
signed() { ich_sign_file "$work/cert.pfx" "$1" && verifies "$1"; }

ich_check "a signed program verifies" signed "$work/a.exe"
ich_check "a signed MSI verifies" signed "$work/a.msi"
printf 'X' | dd of="$work/a.exe" bs=1 seek=4096 conv=notrunc 2>/dev/null
ich_check "a program changed after signing does not" eval '! verifies "$work/a.exe"'
ich_check "a wrong password fails, the file unchanged" \
  eval '! ICH_SIGN_PASSWORD=wrong ich_sign_file "$work/cert.pfx" "$work/b.exe" 2>/dev/null && cmp -s "$exe" "$work/b.exe"'

ich_checks_done signing
