#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need.
# Idempotent: when everything is present it touches nothing (no apt-get update).
set -euo pipefail

PACKAGES=(
  g++ make cmake pkg-config
  qtbase5-dev libqt5sql5-sqlite libqt5webkit5-dev libqt5svg5-dev
  libcpp-httplib-dev libssl-dev libquazip1-qt5-dev libxlsxwriter-dev libpoppler-qt5-dev
  fonts-wqy-microhei
)
# Extra packages a caller may ask for (the benchmarks want imagemagick).
PACKAGES+=("$@")

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: all packages present"
  exit 0
fi

echo "deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
