#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test, run and take screenshots.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

packages=(
  cmake g++ ninja-build pkg-config clang-format
  clang libclang-rt-14-dev clang-tidy
  qt6-base-dev libqt6opengl6-dev qt6-translations-l10n
  libicu-dev libsdl2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk
  xvfb xauth x11-apps imagemagick matchbox-window-manager poppler-utils
  python3 python3-pyatspi at-spi2-core dbus dbus-x11
  locales
)

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, for the tests that read and write numbers under one.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the locale de_DE.UTF-8"
  $sudo_cmd localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
