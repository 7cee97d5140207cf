#!/usr/bin/env bash
# Installs the Debian packages the project needs, only when some are missing
# (one apt-get update, then one install). Run as root on Debian 12.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-dev libcurl4-openssl-dev nlohmann-json3-dev libssl-dev libcpp-httplib-dev
  libcairo2-dev libpango1.0-dev libsdl2-dev libpng-dev libjpeg-dev
  libavformat-dev libavcodec-dev libswscale-dev libavutil-dev
  fonts-wqy-microhei xvfb xauth python3 lld
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
