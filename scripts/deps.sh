#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Does no apt work at all when everything is already there.
set -euo pipefail

packages=(
  make cmake ninja-build g++ googletest libstb-dev
  g++-mingw-w64-x86-64-posix
  wine wine64 fonts-wine
  xvfb xdotool x11-utils imagemagick
  nsis zip unzip clang libclang-rt-dev
  osslsigncode openssl p7zip-full python3 python3-yaml
)

# One dpkg-query for all: it is the whole cost of a run that finds nothing
# missing.
installed=$(dpkg-query -W -f='${Package} ${db:Status-Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for p in "${packages[@]}"; do
  grep -qxF "$p installed" <<<"$installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0

echo "deps: installing ${missing[*]}"
sudo=()
if [[ $(id -u) != 0 ]]; then
  if ! command -v sudo >/dev/null; then
    echo "deps: not root and no sudo; install as root: ${missing[*]}" >&2
    exit 1
  fi
  sudo=(sudo)
fi
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
