#!/usr/bin/env bash
# Installs what is missing, builds Ohmara and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DOHMARA_BUILD_TESTS=OFF >/dev/null
cmake --build build-release -j"$(nproc)"
exec ./build-release/ohmara
