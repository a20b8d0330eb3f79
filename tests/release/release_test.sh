#!/usr/bin/env bash
# The release layer: what `make package` promises, checked on the files it
# makes, without Wine (the e2e layer runs the signed installer and program).
#   - this tree built and packed again in a second folder (blanks, letters
#     beyond ASCII), later, in another time zone and with umask 077, gives
#     the same bytes: Dayvane.exe, zip, installer, SHA256SUMS, manifests
#   - a certificate given, the program, the uninstaller and the installer
#     are signed; without one the build says so; a wrong one stops it early
#   - SHA256SUMS and the manifests parse and match the files
# Prints "ok - ..." or "not ok - ..." per check, then "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 2
root=$PWD
work=$root/build/release
version=1.00
zip=Dayvane-$version-win64.zip
setup=Dayvane-$version-setup.exe
passed=0
failed=0

ok() { passed=$((passed + 1)) && echo "ok - $1"; }
not_ok() { failed=$((failed + 1)) && echo "not ok - $1" && shift && printf '    %s\n' "$@"; }
# check NAME COMMAND...: one check; the command's output is shown only when it fails.
check() {
  local name=$1 output
  shift
  if output=$("$@" 2>&1); then ok "$name"; else not_ok "$name" "$(tail -12 <<<"${output:-(no output)}")"; fi
}

rm -rf "$work"
mkdir -p "$work"
epoch=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH=$epoch
unset SIGN_CERT SIGN_KEY SIGN_PASS SIGN_TIMESTAMP DOWNLOAD_URL

# --- first build: this tree, as `make package` does it --------------------
if ! PACKAGE_OUT=$work/a bash scripts/package.sh >"$work/a.log" 2>&1; then
  not_ok "make package" "$(tail -20 "$work/a.log")"
  echo "$passed passed, $failed failed"
  exit 1
fi
check "without a certificate the build says it is unsigned, in one line" \
  grep -qx "unsigned: no SIGN_CERT given" "$work/a.log"
check "the zip holds Dayvane-$version/ with the program, the read-me and the licence" \
  bash -c "diff <(unzip -Z1 '$work/a/$zip') <(printf '%s\n' Dayvane-$version/ \
    Dayvane-$version/{Dayvane.exe,LICENSE.txt,README.txt})"

# --- second build: a copy of this tree elsewhere, later, otherwise set up --
copy="$work/zweite Kopie ü"
mkdir -p "$copy"
git ls-files -z --cached --others --exclude-standard |
  tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$copy"
(
  cd "$copy" || exit 1
  umask 077
  export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8
  cmake --preset windows -DDAYVANE_TESTS=OFF >/dev/null &&
    PACKAGE_OUT="$copy/out" bash scripts/package.sh
) >"$work/b.log" 2>&1 || not_ok "make package in a second folder" "$(tail -20 "$work/b.log")"

# same A B: byte for byte; on a difference, where and how much.
same() {
  if cmp -s "$1" "$2"; then return 0; fi
  [[ -f $1 && -f $2 ]] || { echo "missing: $1 or $2"; return 1; }
  echo "$(cmp -l "$1" "$2" | wc -l) bytes differ ($(stat -c %s "$1") and $(stat -c %s "$2") bytes); first (offset, octal):"
  cmp -l "$1" "$2" | head -8
  return 1
}
check "Dayvane.exe is the same from both folders" same build/windows/Dayvane.exe "$copy/build/windows/Dayvane.exe"
for f in "$zip" "$setup" SHA256SUMS winget/DayvaneSoftware.Dayvane.installer.yaml scoop/dayvane.json; do
  check "$f is the same from both folders" same "$work/a/$f" "$copy/out/$f"
done
check "no build folder is named in the program or the installer" \
  bash -c "! grep -l -a -F -e '$root' -e 'zweite Kopie' '$work/a/$setup' build/windows/Dayvane.exe"

# --- signing ----------------------------------------------------------------
bash tests/release/make_cert.sh "$work/cert"
check "a key that does not open stops make package before it builds" \
  bash -c "! SIGN_CERT='$work/cert/cert.pem' SIGN_KEY='$work/cert/cert.pem' PACKAGE_OUT='$work/x' \
    bash scripts/package.sh && [[ ! -e '$work/x' ]]"
if SIGN_CERT=$work/cert/cert.pem SIGN_KEY=$work/cert/key.pem NO_BUILD=1 PACKAGE_OUT=$work/signed \
  bash scripts/package.sh >"$work/signed.log" 2>&1; then
  7z x -y -o"$work/signed/files" "$work/signed/$setup" >/dev/null
  verify() { osslsigncode verify -CAfile "$work/cert/cert.pem" -in "$1"; }
  check "the installer is signed" verify "$work/signed/$setup"
  check "Dayvane.exe in the installer is signed" verify "$work/signed/files/Dayvane.exe"
  check "Uninstall.exe in the installer is signed" verify "$work/signed/files/Uninstall.exe"
  check "the zip holds the signed Dayvane.exe" \
    bash -c "unzip -p '$work/signed/$zip' Dayvane-$version/Dayvane.exe | cmp - '$work/signed/files/Dayvane.exe'"
  check "the uninstaller describes itself as the uninstaller" \
    bash -c "strings -el '$work/signed/files/Uninstall.exe' | grep -qx 'Dayvane uninstaller'"
else
  not_ok "make package with a certificate" "$(tail -20 "$work/signed.log")"
fi

# --- checksums and manifests ---------------------------------------------------
check "SHA256SUMS matches both packages" bash -c "cd '$work/a' && sha256sum --strict -c SHA256SUMS"
check "the winget and Scoop manifests parse and name the files as built" \
  /usr/bin/python3 - "$work/a" "$version" <<'PY'
import hashlib, json, sys, yaml
out, version = sys.argv[1], sys.argv[2]
sha = lambda name: hashlib.sha256(open(f"{out}/{name}", "rb").read()).hexdigest()
setup, zip_ = f"Dayvane-{version}-setup.exe", f"Dayvane-{version}-win64.zip"
docs = {kind: yaml.safe_load(open(f"{out}/winget/DayvaneSoftware.Dayvane{suffix}.yaml"))
        for kind, suffix in (("version", ""), ("installer", ".installer"), ("defaultLocale", ".locale.en-US"))}
for kind, doc in docs.items():
    assert doc["ManifestType"] == kind and doc["PackageIdentifier"] == "DayvaneSoftware.Dayvane", doc
    assert doc["PackageVersion"] == version and doc["ManifestVersion"] == docs["version"]["ManifestVersion"], doc
assert tuple(map(int, docs["version"]["ManifestVersion"].split("."))) >= (1, 12, 0)
inst = docs["installer"]
assert inst["InstallerType"] == "nullsoft" and inst["Scope"] == "user", inst
assert inst["InstallerSwitches"]["Silent"] == "/S", inst
(x64,) = inst["Installers"]
assert x64["InstallerSha256"].lower() == sha(setup) and x64["InstallerUrl"].endswith("/" + setup), x64
loc = docs["defaultLocale"]
assert all(loc.get(k) for k in ("Publisher", "License", "ShortDescription", "Tags")), loc
scoop = json.load(open(f"{out}/scoop/dayvane.json"))["architecture"]["64bit"]
assert scoop["hash"] == sha(zip_) and scoop["url"].endswith("/" + zip_), scoop
PY

echo "$passed passed, $failed failed"
((failed == 0))
