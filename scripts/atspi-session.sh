#!/usr/bin/env bash
# Runs one scripted session of the real program through the accessibility bus (AT-SPI): builds
# the program, makes a fresh demo installation in a temporary folder and starts the given Python
# session script on it inside a private D-Bus session under a virtual X server.
# Usage: scripts/atspi-session.sh SESSION_SCRIPT SCREENSHOT_FOLDER
# Used by scripts/pupil-session.sh and scripts/teacher-session.sh; exits with the script's status.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
script="$1"
out="$2"
cd "$repo"

echo "== Packages"
./scripts/install-deps.sh

echo "== Build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2 --target numora numora-data

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "== Fresh demo installation in $work"
folder="$(build/numora-data demo "$work/install" | tail -n 1)"
program="${folder%/}/numora"
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }
echo "program: $program"

mkdir -p "$out"
mkdir -p -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM

echo "== Session $(basename "$script") (screenshots in $out)"
# The Debian Python carries pyatspi; dbus-run-session gives a private session bus on which the
# accessibility bus is started on demand.
xvfb-run -a -s "-screen 0 1024x768x24" \
  dbus-run-session -- /usr/bin/python3 "$repo/scripts/$script" \
  --program "$program" --data-tool "$repo/build/numora-data" --out "$out"
