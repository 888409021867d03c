#!/usr/bin/env bash
# Builds Zestro and the files it carries (no tests, no benchmark) and starts it. The build folder
# and its flags are the test command's, so neither command rebuilds the other's work.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZESTRO_WERROR=ON >/dev/null
cmake --build build --target program
exec build/bin/zestro "$@"
