#!/usr/bin/env bash
# Installs what building and testing Tolvane needs on Debian 12, with apt-get, when it is missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config python3
  libgtest-dev libbenchmark-dev libcli11-dev libicu-dev libeigen3-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-noto-cjk
  unicode-data fortunes-zh bc time clang libclang-rt-14-dev clang-format
  chromium poppler-utils
  librsvg2-bin desktop-file-utils appstream man-db dpkg-dev
  fonts-urw-base35 fonts-liberation fonts-dejavu
  libzip-dev zip unzip libreoffice-writer epubcheck fonts-sil-andika
  qt6-l10n-tools
  pybind11-dev python3-dev python3-pytest python3-numpy
  python3-dask python3-distributed
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
