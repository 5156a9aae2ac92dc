#!/usr/bin/env bash
# Builds every libFuzzer target with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (all project code instrumented for coverage) and
# runs each for FUZZ_SECONDS (default 20; run longer by hand, e.g.
# FUZZ_SECONDS=600 scripts/fuzz.sh). Seeds come from fuzz/seeds/<name>/;
# findings go to build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${JOBS:-2}
seconds=${FUZZ_SECONDS:-20}
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"

# The core targets need no Qt; the saved panel state target needs Qt widgets
# and the feed readers Qt Core.
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCALTRIX_CORE_ONLY=ON \
  -DBUILD_TESTING=OFF -DCALTRIX_BENCH=OFF -DCALTRIX_FUZZ=ON -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build-fuzz -j"$jobs"
CXX=clang++ cmake -S . -B build-fuzz-qt -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=OFF -DCALTRIX_BENCH=OFF -DCALTRIX_FUZZ=ON -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build build-fuzz-qt -j"$jobs" --target fuzz_propertybag fuzz_feed

export QT_QPA_PLATFORM=offscreen
mkdir -p build-fuzz/findings
for fuzzer in build-fuzz/bin/fuzz_* build-fuzz-qt/bin/fuzz_propertybag build-fuzz-qt/bin/fuzz_feed; do
  name=$(basename "$fuzzer")
  corpus="$root/build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  seeds="$root/fuzz/seeds/${name#fuzz_}"
  [ -d "$seeds" ] || seeds=""
  echo "-- $name for $seconds s"
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$root/build-fuzz/findings/$name-" "$corpus" $seeds 2>&1 \
    | grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)' || true
  # libFuzzer exits non-zero on a finding; pipefail is defeated by grep, so check for artifacts.
  if ls "$root/build-fuzz/findings/$name-"* >/dev/null 2>&1; then
    echo "$name found a failing input: $(ls "$root/build-fuzz/findings/$name-"*)"
    exit 1
  fi
done
echo "fuzzing: no crash, no undefined behaviour, no hang"
