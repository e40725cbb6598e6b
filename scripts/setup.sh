#!/usr/bin/env bash
# Installs every Debian package the project needs, skipping those already present.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libsqlite3-dev libpng-dev zlib1g-dev libjpeg-dev
  qt6-base-dev qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core fonts-liberation2
  xvfb xauth x11-utils xdotool imagemagick python3 python3-xlib git
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root=()
  [ "$(id -u)" -eq 0 ] || as_root=(sudo)
  "${as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
