#!/usr/bin/env bash
# Builds the program, the tool and every test with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ (-O1, no benchmarks) and runs the whole test suite under CTest. Any sanitizer
# report fails the test it happens in.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
flags="-O1 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DNUMORA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j "$jobs"
cd build-asan
# Leaks inside Qt's and the system's own libraries at exit are not this program's; everything
# else a sanitizer finds stops the test.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy ctest --output-on-failure -j "$jobs"
