#!/usr/bin/env bash
# Installs the Debian packages of the Windows cross build: the mingw-w64 compiler (POSIX thread
# model, for std::thread and std::mutex), wine to run the test programs, and the GoogleTest sources
# that the cross build compiles itself. Safe to run again: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix
  wine wine64
  googletest
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
