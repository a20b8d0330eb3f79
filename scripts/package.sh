#!/usr/bin/env bash
# make package: the release files, in build/package/.
#   Dayvane-<version>-win64.zip   Dayvane-<version>/ with Dayvane.exe, README.txt, LICENSE.txt
#   Dayvane-<version>-setup.exe   per-user NSIS installer (packaging/dayvane.nsi)
#   SHA256SUMS                    of both
#   winget/, scoop/               package-manager manifests (scripts/manifests.sh)
# Settings, from the environment (make passes its variables on):
#   SIGN_CERT, SIGN_KEY, SIGN_PASS, SIGN_TIMESTAMP   sign Dayvane.exe, the uninstaller and the
#                     installer (scripts/sign.sh); without SIGN_CERT all stays unsigned
#   DOWNLOAD_URL      the folder the files are published in, for the manifests
#   SOURCE_DATE_EPOCH the time stamp of every file (default: the last commit's time)
#   NO_BUILD=1        pack the Dayvane.exe already built; PACKAGE_EXE and PACKAGE_OUT
#                     name another program file (beside its build's maker.nsh) and output folder
# The same commit gives the same bytes, wherever and whenever it is packed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
version=1.00
out=${PACKAGE_OUT:-$root/build/package}
exe=${PACKAGE_EXE:-$root/build/windows/Dayvane.exe}
url=${DOWNLOAD_URL:-https://downloads.dayvane.example/$version/}

# Settings first: a mistake should not cost a build.
bash scripts/sign.sh --check
if [[ ! $url =~ ^https://[^[:space:]\"]+$ ]]; then
  echo "package: DOWNLOAD_URL is no https address: '$url'" >&2
  exit 1
fi
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || {
    echo "package: no git history here; set SOURCE_DATE_EPOCH" >&2
    exit 1
  }
fi
export SOURCE_DATE_EPOCH

if [[ ${NO_BUILD:-} != 1 ]]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target Dayvane
fi
maker=$(dirname "$exe")/maker.nsh
for f in "$exe" "$maker"; do
  [[ -f $f ]] || { echo "package: $f was not built" >&2; exit 1; }
done
if [[ -n ${SIGN_CERT:-} ]]; then
  # The installer toolkit signs from another folder.
  SIGN_CERT=$(realpath "$SIGN_CERT")
  [[ -z ${SIGN_KEY:-} ]] || SIGN_KEY=$(realpath "$SIGN_KEY")
  export SIGN_CERT SIGN_KEY
  echo "package: signing with $SIGN_CERT"
else
  echo "unsigned: no SIGN_CERT given"
fi

# Everything is put together under a plain temporary name: no build folder
# (blanks, letters beyond ASCII) reaches the tools or the files.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
umask 022
dir=Dayvane-$version
mkdir "$stage/$dir"
cp "$exe" "$stage/$dir/Dayvane.exe"
bash scripts/sign.sh "$stage/$dir/Dayvane.exe"
# Notepad before Windows 10 1809 shows LF-only text as one line.
sed 's/$/\r/' packaging/README.txt >"$stage/$dir/README.txt"
sed 's/$/\r/' LICENSE >"$stage/$dir/LICENSE.txt"
cp packaging/dayvane.nsi assets/dayvane.ico "$maker" "$stage/"
convert assets/installer-side.png BMP3:"$stage/side.bmp"
stamp() { chmod u=rwX,go=rX "$@" && touch -h -d "@$SOURCE_DATE_EPOCH" "$@"; }
stamp "$stage/$dir" "$stage/$dir"/* "$stage/side.bmp"

mkdir -p "$out"
zip=Dayvane-$version-win64.zip
setup=Dayvane-$version-setup.exe
rm -f "$out/$zip" "$out/$setup" "$out/SHA256SUMS"
# Sorted, no owner or extra time fields, times as UTC.
(cd "$stage" && find "$dir" | LC_ALL=C sort | TZ=UTC zip -q -X -@ "$zip")

nsis=(makensis -V2 -NOCD -INPUTCHARSET UTF8 "-DEXE=$dir/Dayvane.exe" "-DREADME=$dir/README.txt"
  "-DLICENSE=$dir/LICENSE.txt" -DICON=dayvane.ico -DSIDE=side.bmp -DMAKER=maker.nsh)
if [[ -n ${SIGN_CERT:-} ]]; then
  cp scripts/sign.sh "$stage/"
  nsis+=('-DSIGN=bash sign.sh')
fi
# The uninstaller first, on its own, then the installer that carries it.
(cd "$stage" && "${nsis[@]}" -DUNINSTALLER_PASS -DUNINSTALLER=Uninstall.exe -DOUTFILE=pass1.exe dayvane.nsi)
stamp "$stage/Uninstall.exe"
(cd "$stage" && "${nsis[@]}" -DUNINSTALLER=Uninstall.exe "-DOUTFILE=$setup" dayvane.nsi)

cp "$stage/$zip" "$stage/$setup" "$out/"
(cd "$out" && sha256sum "$setup" "$zip" >SHA256SUMS)
bash scripts/manifests.sh "$out" "$version" "$url" "$(sed -n 's/^!define MAKER_WEB_SITE "\(.*\)"$/\1/p' "$maker")"
for f in "$zip" "$setup"; do
  echo "package: $(realpath --relative-to="$root" "$out/$f") ($(stat -c %s "$out/$f") bytes)"
done
echo "package: SHA256SUMS, winget/ and scoop/ beside them"
