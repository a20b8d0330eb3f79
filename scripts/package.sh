#!/usr/bin/env bash
# make package: the portable zip and the installer, in build/package/.
#   Dayvane-<version>-win64.zip   Dayvane-<version>/ with Dayvane.exe, README.txt, LICENSE.txt
#   Dayvane-<version>-setup.exe   per-user NSIS installer (packaging/dayvane.nsi)
# NO_BUILD=1 packs the Dayvane.exe already built; PACKAGE_EXE and PACKAGE_OUT
# name another program file and output folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
version=1.00
out=${PACKAGE_OUT:-$root/build/package}
exe=${PACKAGE_EXE:-$root/build/windows/Dayvane.exe}

[[ ${NO_BUILD:-} == 1 ]] || bash scripts/build.sh windows
if [[ ! -f $exe ]]; then
  echo "package: $exe was not built" >&2
  exit 1
fi

stage=$out/stage
rm -rf "$stage"
mkdir -p "$stage/Dayvane-$version"
cp "$exe" "$stage/Dayvane-$version/Dayvane.exe"
# Notepad before Windows 10 1809 shows LF-only text as one line.
sed 's/$/\r/' packaging/README.txt >"$stage/Dayvane-$version/README.txt"
sed 's/$/\r/' LICENSE >"$stage/Dayvane-$version/LICENSE.txt"
# Same files, same archive: fixed times, no extra attributes.
touch -d "@$(git log -1 --format=%ct 2>/dev/null || date +%s)" "$stage/Dayvane-$version" "$stage/Dayvane-$version"/*

zip=$out/Dayvane-$version-win64.zip
rm -f "$zip"
(cd "$stage" && zip -q -X -r "$zip" "Dayvane-$version")

setup=$out/Dayvane-$version-setup.exe
rm -f "$setup"
makensis -V2 -NOCD \
  "-DEXE=$stage/Dayvane-$version/Dayvane.exe" \
  "-DREADME=$stage/Dayvane-$version/README.txt" \
  "-DLICENSE=$stage/Dayvane-$version/LICENSE.txt" \
  "-DICON=$root/assets/dayvane.ico" \
  "-DOUTFILE=$setup" \
  packaging/dayvane.nsi

rm -rf "$stage"
echo "package: $(realpath --relative-to="$root" "$zip") ($(stat -c %s "$zip") bytes)"
echo "package: $(realpath --relative-to="$root" "$setup") ($(stat -c %s "$setup") bytes)"
