#!/usr/bin/env bash
# Installs what the project needs from Debian's packages, only what is missing.
# Runs apt-get as root, through sudo otherwise.
set -euo pipefail

packages=(
  g++ make cmake pkg-config git
  zlib1g-dev libdeflate-dev libgtest-dev
  qt6-base-dev qt6-webengine-dev qt6-webchannel-dev libqt6webenginecore6-bin
  libgl-dev fonts-dejavu-core
  # Arial's metrics for the interface font; pdftotext and pdfinfo read printed PDFs back.
  fonts-liberation2 poppler-utils
  clang libclang-rt-14-dev python3
  dpkg-dev file lintian
  libzstd-dev zstd qt6-wayland
)

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
