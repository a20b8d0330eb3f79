#!/usr/bin/env bash
# Configures and builds the given CMake presets (default: host windows).
set -euo pipefail
cd "$(dirname "$0")/.."

presets=("$@")
((${#presets[@]})) || presets=(host windows)
for p in "${presets[@]}"; do
  cmake --preset "$p"
  cmake --build --preset "$p"
done
