#!/usr/bin/env bash
# Installs the Debian packages Sonvex builds and tests with. Safe to run again:
# only packages that are missing are installed.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-svg-dev qt6-tools-dev qt6-tools-dev-tools
  qt6-l10n-tools linguist-qt6
  libqcustomplot-dev libxlsxwriter-dev libftdi1-dev
  fonts-dejavu-core xvfb xauth poppler-utils python3-openpyxl bsdextrautils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all ${#PACKAGES[@]} packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
