#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over every C++ source under src/ and fails on
# any finding. It reads the compile commands of the release build in build/ (configured here if
# they are missing), so the files are checked with the flags they are really compiled with.
# With --windows it checks the Windows halves of the platform layer (*_win.cpp, which the native
# build does not compile) with the flags of the cross build in build-windows/ and the mingw-w64
# headers; scripts/windows-build.sh runs it so.
# Usage: scripts/tidy.sh [--windows] [file ...]   (default: every source that build compiles)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
extra=()
if [ "${1:-}" = "--windows" ]; then
  shift
  build=build-windows
  # The cross compiler's C++ and Windows headers; clang's own take the place of gcc's intrinsics.
  while read -r dir; do
    extra+=("--extra-arg-before=-isystem${dir}")
  done < <(echo | x86_64-w64-mingw32-g++-posix -xc++ -E -v - 2>&1 |
    sed -n '/#include <...> search starts/,/End of search/p' | sed -n 's/^ \(\/.*\)$/\1/p' |
    grep -vE '/include(-fixed)?$' || true)
  extra+=("--extra-arg-before=-isystem/usr/x86_64-w64-mingw32/include" "--extra-arg=-nostdinc++")
elif [ ! -f build/compile_commands.json ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi

if [ $# -gt 0 ]; then
  files=("$@")
else
  # The sources of src/ that this build compiles.
  mapfile -t files < <(git ls-files -co --exclude-standard 'src/*.cpp' |
    while read -r f; do
      if grep -qF "/${f}\"" "${build}/compile_commands.json"; then
        if [ "${build}" = build ] || [[ "${f}" == *_win.cpp ]]; then echo "${f}"; fi
      fi
    done)
fi
[ ${#files[@]} -gt 0 ] || exit 0

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
status=0
printf '%s\n' "${files[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "${build}" --quiet --warnings-as-errors='*' "${extra[@]}" \
    >"$log" 2>&1 ||
  status=1
if [ $status -ne 0 ]; then
  grep -E 'warning:|error:' "$log" | sort -u
  echo "clang-tidy found the problems above" >&2
fi
exit $status
