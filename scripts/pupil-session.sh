#!/usr/bin/env bash
# Builds the program, makes a fresh demo installation and plays one whole pupil session on it
# through the accessibility bus (AT-SPI), as a screen reader or switch access would drive it.
# Usage: scripts/pupil-session.sh [screenshot folder]   (default /tmp/pupil-session)
# Exits 0 only when every step of the session worked; scripts/pupil_session.py logs each step.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-/tmp/pupil-session}"
cd "$repo"

echo "== Packages"
./scripts/install-deps.sh

echo "== Build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build

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

echo "== Session (screenshots in $out)"
# The Debian Python carries pyatspi; dbus-run-session gives a private session bus on which the
# accessibility bus is started on demand.
xvfb-run -a -s "-screen 0 1024x768x24" \
  dbus-run-session -- /usr/bin/python3 "$repo/scripts/pupil_session.py" \
  --program "$program" --data-tool "$repo/build/numora-data" --out "$out"
