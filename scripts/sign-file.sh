#!/usr/bin/env bash
# Signs one Windows program or library in place with the publisher's
# Authenticode certificate, with SHA-256, and an RFC 3161 time stamp when a
# time-stamp server is named. The build calls it for each file it ships and
# makensis for the uninstaller and the setup program.
#   sign-file.sh <file>
#   VISTRANE_SIGN_CERT            PKCS#12 file with the certificate and its key
#   VISTRANE_SIGN_PASSWORD_FILE   file holding its password
#   VISTRANE_TIMESTAMP_URL        time-stamp server (optional)
set -euo pipefail
file=${1:?usage: sign-file.sh <file>}
: "${VISTRANE_SIGN_CERT:?sign-file.sh: VISTRANE_SIGN_CERT names no certificate}"
: "${VISTRANE_SIGN_PASSWORD_FILE:?sign-file.sh: VISTRANE_SIGN_PASSWORD_FILE names no password file}"

options=(-pkcs12 "$VISTRANE_SIGN_CERT" -readpass "$VISTRANE_SIGN_PASSWORD_FILE" -h sha256 -n Vistrane)
if [ -n "${VISTRANE_TIMESTAMP_URL:-}" ]; then
    options+=(-ts "$VISTRANE_TIMESTAMP_URL")
fi
# Signed beside the file and moved over it in one step: a failure leaves
# the unsigned file as it was, never half a file.
signed=$(mktemp "$file.signing.XXXXXX")
trap 'rm -f "$signed"' EXIT
rm -f "$signed"
osslsigncode sign "${options[@]}" -in "$file" -out "$signed" >/dev/null ||
    { echo "sign-file.sh: could not sign $file" >&2; exit 1; }
mv -f "$signed" "$file"
