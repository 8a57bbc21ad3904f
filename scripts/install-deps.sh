#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test, run and take screenshots.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config clang-format
  qt6-base-dev libqt6opengl6-dev
  libicu-dev libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk
  xvfb xauth x11-apps imagemagick matchbox-window-manager poppler-utils
  python3 python3-pyatspi at-spi2-core dbus dbus-x11
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
