#!/usr/bin/env bash
# make_cert.sh DIR: a throwaway self-signed code-signing certificate for the
# tests, DIR/cert.pem and DIR/key.pem (no password).
set -euo pipefail
mkdir -p "$1"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Dayvane test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$1/key.pem" -out "$1/cert.pem" 2>/dev/null
