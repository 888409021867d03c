#!/usr/bin/env bash
# Builds the Debian package build-package/zestro_<version>_amd64.deb (no tests, no benchmark) and
# checks the desktop entry and the AppStream file it carries.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --package
launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZESTRO_WERROR=ON -DZESTRO_BUILD_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr "${launcher[@]}" >/dev/null
cmake --build build-package
desktop-file-validate packaging/io.github.zestro.Zestro.desktop
appstreamcli validate build-package/packaging/io.github.zestro.Zestro.metainfo.xml
(cd build-package && cpack -G DEB)
ls build-package/zestro_*.deb
