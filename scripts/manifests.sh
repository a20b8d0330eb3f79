#!/usr/bin/env bash
# Package-manager manifests for the built packages, ready to submit:
#   manifests.sh OUT_DIR VERSION DOWNLOAD_URL WEB_SITE
# reads OUT_DIR/Dayvane-VERSION-setup.exe and -win64.zip and writes
#   OUT_DIR/winget/DayvaneSoftware.Dayvane{,.installer,.locale.en-US}.yaml  (winget, multi-file)
#   OUT_DIR/scoop/dayvane.json                                               (Scoop)
# DOWNLOAD_URL is the folder the two files are published in.
set -euo pipefail
out=$1 version=$2 url=${3%/}/ site=$4
id=DayvaneSoftware.Dayvane
schema=1.12.0 # winget's current manifest schema
setup=Dayvane-$version-setup.exe
zip=Dayvane-$version-win64.zip
sha() { sha256sum "$out/$1" | cut -d' ' -f1; }
setup_sha=$(sha "$setup")
zip_sha=$(sha "$zip")
description="Small desktop calendar: this month, the next one and a clock in a narrow window."

mkdir -p "$out/winget" "$out/scoop"
header() { printf '# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json\n\n' "$1" "$schema"; }
{
  header version
  cat <<YAML
PackageIdentifier: $id
PackageVersion: "$version"
DefaultLocale: en-US
ManifestType: version
ManifestVersion: $schema
YAML
} >"$out/winget/$id.yaml"
{
  header installer
  cat <<YAML
PackageIdentifier: $id
PackageVersion: "$version"
InstallerType: nullsoft
Scope: user
InstallModes:
  - interactive
  - silent
  - silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
UpgradeBehavior: install
ProductCode: Dayvane
Installers:
  - Architecture: x64
    InstallerUrl: $url$setup
    InstallerSha256: ${setup_sha^^}
ManifestType: installer
ManifestVersion: $schema
YAML
} >"$out/winget/$id.installer.yaml"
{
  header defaultLocale
  cat <<YAML
PackageIdentifier: $id
PackageVersion: "$version"
PackageLocale: en-US
Publisher: Dayvane Software
PublisherUrl: $site
PackageName: Dayvane
License: MIT
Copyright: "Copyright (C) 2026 Dayvane Software"
ShortDescription: "$description"
Tags:
  - calendar
  - clock
  - desktop
  - tray
ManifestType: defaultLocale
ManifestVersion: $schema
YAML
} >"$out/winget/$id.locale.en-US.yaml"

cat >"$out/scoop/dayvane.json" <<JSON
{
    "version": "$version",
    "description": "$description",
    "homepage": "$site",
    "license": "MIT",
    "architecture": {
        "64bit": {
            "url": "$url$zip",
            "hash": "$zip_sha"
        }
    },
    "extract_dir": "Dayvane-$version",
    "bin": "Dayvane.exe",
    "shortcuts": [["Dayvane.exe", "Dayvane"]]
}
JSON
