#!/usr/bin/env bash
# Installs what the project needs from Debian's packages, only what is missing: everything
# (`setup.sh` or `setup.sh all`), or what building and opening a book needs (`setup.sh viewer`).
# Runs apt-get as root, through sudo otherwise.
set -euo pipefail

# What building and opening a book needs.
packages=(
  g++ make cmake pkg-config git
  zlib1g-dev libdeflate-dev libzstd-dev
  qt6-base-dev qt6-webengine-dev qt6-webchannel-dev libqt6webenginecore6-bin qt6-wayland
  libgl-dev fonts-dejavu-core
  # Arial's metrics for the interface font.
  fonts-liberation2
)
# What the tests, the portable runtime and the Debian package need besides (`setup.sh all`):
# pdftotext and pdfinfo read printed PDFs back; clang builds the fuzzers.
if [[ "${1:-all}" == all ]]; then
  packages+=(libgtest-dev poppler-utils clang libclang-rt-14-dev python3 zstd dpkg-dev file lintian)
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
