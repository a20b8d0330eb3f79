#!/usr/bin/env bash
# Signs Windows programs in place with Authenticode (osslsigncode), when a
# certificate is given; without one it does nothing.
#   sign.sh FILE...        sign each file
#   sign.sh --check        only check the settings (exit 1 with a message)
# Settings, from the environment (make package SIGN_CERT=... passes them):
#   SIGN_CERT       a .p12/.pfx file (certificate and key), or a PEM certificate (chain)
#   SIGN_KEY        the PEM private key beside a PEM certificate
#   SIGN_PASS       the password of the .p12 or of the key (never on a command line)
#   SIGN_TIMESTAMP  an RFC 3161 time-stamping server, e.g. http://timestamp.digicert.com
# Without a time-stamping server the signing time is SOURCE_DATE_EPOCH, so
# the same key signs the same file to the same bytes.
set -euo pipefail

check() {
  [[ -n ${SIGN_CERT:-} ]] || return 0
  command -v osslsigncode >/dev/null || { echo "sign: osslsigncode is not installed" >&2; return 1; }
  [[ -r $SIGN_CERT ]] || { echo "sign: SIGN_CERT: cannot read '$SIGN_CERT'" >&2; return 1; }
  case ${SIGN_CERT,,} in
    *.p12 | *.pfx)
      [[ -z ${SIGN_KEY:-} ]] || { echo "sign: SIGN_KEY is for a PEM certificate; a .p12 holds its key" >&2; return 1; }
      ;;
    *)
      [[ -n ${SIGN_KEY:-} ]] || { echo "sign: SIGN_CERT is no .p12/.pfx, so SIGN_KEY must name its key" >&2; return 1; }
      [[ -r $SIGN_KEY ]] || { echo "sign: SIGN_KEY: cannot read '$SIGN_KEY'" >&2; return 1; }
      ;;
  esac
  # A wrong password should not show only after the build.
  export SIGN_PASS=${SIGN_PASS:-}
  case ${SIGN_CERT,,} in
    *.p12 | *.pfx) openssl pkcs12 -in "$SIGN_CERT" -noout -passin env:SIGN_PASS 2>/dev/null ||
      openssl pkcs12 -legacy -in "$SIGN_CERT" -noout -passin env:SIGN_PASS 2>/dev/null ;;
    *) openssl pkey -in "$SIGN_KEY" -noout -passin env:SIGN_PASS 2>/dev/null ;;
  esac || { echo "sign: the key in '${SIGN_KEY:-$SIGN_CERT}' does not open (SIGN_PASS?)" >&2; return 1; }
  if [[ -n ${SIGN_TIMESTAMP:-} && ! $SIGN_TIMESTAMP =~ ^https?:// ]]; then
    echo "sign: SIGN_TIMESTAMP is no http or https address: '$SIGN_TIMESTAMP'" >&2
    return 1
  fi
}

if [[ ${1:-} == --check ]]; then
  check
  exit
fi
check
[[ -n ${SIGN_CERT:-} ]] || exit 0

args=(-h sha256 -n Dayvane)
case ${SIGN_CERT,,} in
  *.p12 | *.pfx) args+=(-pkcs12 "$SIGN_CERT") ;;
  *) args+=(-certs "$SIGN_CERT" -key "$SIGN_KEY") ;;
esac
if [[ -n ${SIGN_TIMESTAMP:-} ]]; then
  args+=(-ts "$SIGN_TIMESTAMP")
else
  args+=(-time "${SOURCE_DATE_EPOCH:-$(date +%s)}")
fi
for f in "$@"; do
  # Written beside the file, then moved: a failure leaves the file as it was.
  rm -f "$f.signed"
  if [[ -n ${SIGN_PASS:-} ]]; then
    osslsigncode sign "${args[@]}" -readpass <(printf '%s' "$SIGN_PASS") -in "$f" -out "$f.signed" >/dev/null
  else
    osslsigncode sign "${args[@]}" -in "$f" -out "$f.signed" >/dev/null
  fi
  mv -f "$f.signed" "$f"
done
