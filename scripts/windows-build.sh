#!/usr/bin/env bash
# Cross-builds the core, numora-data and the core test programs for 64-bit Windows with Debian's
# mingw-w64 toolchain into build-windows/, and runs the tests under wine (headless, with a wine
# prefix of its own inside build-windows/). Exits non-zero when the build or a test fails.
# The windows and sound (Qt, SDL) are not part of this build; see "Building on Windows" in the
# README for the whole program.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="${root}/build-windows"

./scripts/install-windows-deps.sh

# A compiler launcher (ccache) is taken from CMAKE_CXX_COMPILER_LAUNCHER in the environment.
cmake -S . -B "${build}" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="${root}/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DNUMORA_BUILD_GUI=OFF -DNUMORA_BUILD_TESTS=ON -DNUMORA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "${build}" -j "$(nproc)"
# The Windows halves of the platform layer under clang-tidy, with the flags of this build.
if command -v clang-tidy >/dev/null 2>&1; then
  ./scripts/tidy.sh --windows
fi

# wine: its own prefix in the build folder, no messages of its own, no display, and no offer to
# install the .NET and HTML engines.
export WINEPREFIX="${build}/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "${WINEPREFIX}/system.reg" ]; then
  echo "Creating the wine prefix ${WINEPREFIX}"
  wineboot --init >/dev/null 2>&1 || true
fi
# The wine server of this prefix ends when the tests are done, whatever their outcome.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

cd "${build}"
ctest --output-on-failure -j "$(nproc)"

