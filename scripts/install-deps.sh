#!/usr/bin/env bash
# Installs every Debian package the program, its tests and benchmarks need.
# Idempotent: when everything is present it returns at once without touching apt.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6svg6
  firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
  firebird3.0-server
  libcurl4-openssl-dev libssl-dev openssl ca-certificates
  zlib1g-dev libjpeg-dev libxlsxwriter-dev libzip-dev libudev-dev libcanberra-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev rapidjson-dev nlohmann-json3-dev libboost-dev
  xvfb xauth openbox fonts-dejavu-core fonts-liberation2
  libreoffice-writer-nogui libreoffice-calc-nogui
  cups-daemon cups-client cups-bsd poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
if ! $SUDO apt-get install -y --no-install-recommends "${missing[@]}"; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
