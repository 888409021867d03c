#!/usr/bin/env bash
# Builds Zestro with warnings as errors and runs every test on the offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZESTRO_WERROR=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j2
