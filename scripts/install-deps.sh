#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Zestro need, when missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config          # compiler and build
  qt6-base-dev qt6-base-dev-tools libgl-dev # Qt 6 Widgets, PrintSupport, Test
  libsqlcipher-dev sqlcipher                # the encrypted database engine and its shell
  xvfb xauth imagemagick fonts-dejavu-core  # looking at the program without a display
  strace                                    # fault-injection tests
  poppler-utils                             # reading printed PDFs back in tests
  clang libclang-rt-14-dev                  # the fuzz programs (scripts/fuzz.sh)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
