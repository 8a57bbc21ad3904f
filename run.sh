#!/usr/bin/env bash
# Installs what is needed, builds in Release, creates the demo installation under demo/ when it is
# missing (otherwise only refreshes its program, keeping its data) and starts the program from it.
# Without a display the program runs under Xvfb, a screenshot of its first screen is saved to
# demo/screenshot.png after a few seconds and the program is stopped.
set -euo pipefail
cd "$(dirname "$0")"
root="$(pwd)"

./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"

if [ -e demo/apps/パスデータ.txt ]; then
  program_folder="$(build/numora-data demo demo --refresh-program)"
else
  program_folder="$(build/numora-data demo demo)"
fi
echo "Program folder: ${program_folder}"
program="${root}/demo/apps/numora/numora"

if [ -n "${DISPLAY:-}" ]; then
  exec "${program}"
fi

echo "No display (\$DISPLAY is not set): running the program under Xvfb and saving a screenshot"
echo "of its first screen to demo/screenshot.png."
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# The screenshot is taken inside the virtual display's session.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$1" &
  pid=$!
  sleep 4
  import -window root "$2" || echo "The screenshot could not be taken." >&2
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
' _ "${program}" "${root}/demo/screenshot.png"
if [ -f demo/screenshot.png ]; then
  echo "Screenshot saved: demo/screenshot.png"
fi
