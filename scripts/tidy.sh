#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over every C++ source under src/ and fails on
# any finding. It reads the compile commands of the release build in build/ (configured here if
# they are missing), so the files are checked with the flags they are really compiled with.
# Usage: scripts/tidy.sh [file ...]   (default: every .cpp under src/)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -f build/compile_commands.json ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files -co --exclude-standard 'src/*.cpp')
fi
[ ${#files[@]} -gt 0 ] || exit 0

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
status=0
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p build --quiet --warnings-as-errors='*' >"$log" 2>&1 ||
  status=1
if [ $status -ne 0 ]; then
  grep -E 'warning:|error:' "$log" | sort -u
  echo "clang-tidy found the problems above" >&2
fi
exit $status
