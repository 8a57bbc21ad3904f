#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# in build-fuzz/, and runs each from the seed corpus in tests/fuzz-corpus/ for a bounded number of
# inputs (FUZZ_RUNS, default 1500) with a fixed seed (FUZZ_SEED, default 1), so that a run gives the
# same result every time; FUZZ_SECONDS (default 60) caps each target's time. New inputs go to
# build-fuzz/corpus/ (the seeds stay as they are); a
# crash, sanitizer report, leak or hang leaves its input in build-fuzz/artifacts/ and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-60}"
runs="${FUZZ_RUNS:-1500}"
seed="${FUZZ_SEED:-1}"
targets=(field_reader path_file settings roster sound_table standards results_scan results_check)

flags="-O1 -g -fno-omit-frame-pointer -fsanitize=fuzzer-no-link,address,undefined"
flags+=" -fno-sanitize-recover=all"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
  -DNUMORA_BUILD_GUI=OFF -DNUMORA_BUILD_TESTS=OFF -DNUMORA_BUILD_BENCHMARKS=OFF \
  -DNUMORA_BUILD_FUZZERS=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p build-fuzz/artifacts
status=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== fuzz_$t (${runs} inputs, at most ${seconds} s)"
  if ! UBSAN_OPTIONS=print_stacktrace=1 "build-fuzz/fuzz/fuzz_$t" \
      -runs="$runs" -seed="$seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$t-" \
      "build-fuzz/corpus/$t" "tests/fuzz-corpus/$t" 2>"build-fuzz/fuzz_$t.log"; then
    echo "fuzz_$t found a fault; its input is in build-fuzz/artifacts/:"
    tail -n 40 "build-fuzz/fuzz_$t.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "build-fuzz/fuzz_$t.log" || true
  fi
done
exit $status
