#!/usr/bin/env bash
# Builds every libFuzzer target (the `fuzzers` target of fuzz/CMakeLists.txt)
# with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and runs each
# from its seed corpus for a bounded time; scripts/test.sh, and so CI, runs it.
# Fails on any crash, leak, undefined behaviour, timeout or memory blow-up.
# Inputs the run discovers and its findings go to build/fuzz-findings/, which is
# not committed and is emptied at the start of every run; once a finding is
# mended, add it to the target's seeds in fuzz/corpus/NAME, which every run
# replays first.
#
#   FUZZ_SECONDS   time per target (default 60)
#   FUZZ_SEED      the search's random seed (default 1). With a fixed seed a
#                  run tries the inputs the last one tried, in the same order (as
#                  many as its time allows), so CI fails on a change, not by
#                  chance; to hunt, give other seeds and more time.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-60}"
seed="${FUZZ_SEED:-1}"
build=build/fuzz
findings=build/fuzz-findings

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSCENARIO_FUZZ=ON -DSCENARIO_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers

targets=()
for binary in "$build"/fuzz/*_fuzzer; do targets+=("$(basename "$binary" _fuzzer)"); done
if [[ ! -x ${build}/fuzz/${targets[0]}_fuzzer ]]; then
  echo "fuzz: no target was built" >&2
  exit 1
fi

status=0
for target in "${targets[@]}"; do
  echo "== fuzzing the $target target for ${seconds} s from seed $seed"
  rm -rf "${findings:?}/$target"
  mkdir -p "$findings/$target/corpus" "$findings/$target/crashes"
  dictionary=()
  if [[ -f fuzz/$target.dict ]]; then dictionary=(-dict="fuzz/$target.dict"); fi
  # The first folder receives new inputs; the committed seeds are only read.
  # libFuzzer stops itself after the time given; `timeout` makes sure of it.
  if ! timeout $((seconds + 120)) "$build/fuzz/${target}_fuzzer" "${dictionary[@]}" \
      -seed="$seed" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$findings/$target/crashes/" \
      "$findings/$target/corpus" "fuzz/corpus/$target"; then
    echo "fuzz: the $target target found a fault; see $findings/$target/crashes/" >&2
    status=1
  fi
done
exit "$status"
