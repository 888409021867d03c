#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Zestro need, when missing.
# With --package, also what building and checking the Debian package needs (scripts/package.sh).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config          # compiler and build
  qt6-base-dev qt6-base-dev-tools libgl-dev # Qt 6 Widgets, PrintSupport, Test
  libsqlcipher-dev sqlcipher                # the encrypted database engine and its shell
  libssl-dev                                # reading single encrypted pages (the journal check)
  xvfb xauth imagemagick fonts-dejavu-core  # looking at the program without a display
  strace                                    # fault-injection tests
  poppler-utils                             # reading printed PDFs back in tests
  clang libclang-rt-14-dev                  # the fuzz programs (scripts/fuzz.sh)
)
if [ "${1:-}" = "--package" ]; then
  packages+=(
    dpkg-dev file                           # dpkg-shlibdeps and CPack's look at the binaries: the package's library dependencies
    desktop-file-utils appstream            # desktop-file-validate, appstreamcli
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

ask_administrator() {
  echo "Ask an administrator to install them with:" >&2
  echo "    apt-get install -y --no-install-recommends ${missing[*]}" >&2
}

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "Zestro needs these Debian packages, which are not installed: ${missing[*]}" >&2
    echo "Installing them takes root, and you are neither root nor able to use sudo." >&2
    ask_administrator
    exit 1
  fi
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
if ! { $sudo apt-get update -qq &&
       DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"; }; then
  echo "Installing the packages failed." >&2
  ask_administrator
  exit 1
fi
