#!/usr/bin/env bash
# What the warnings cost: the compile step in memory, of the built-in scenario
# and of the 1000000 m route, timed side by side with the same step of an
# earlier commit (by default c9ddf14, the last before the compiler had any
# warning check; give main's commit to measure one round of new checks). Both
# builds run their own compile benchmarks, are built as the README builds the
# program (Release), and run in turn, so that a slow spell of the machine falls
# on both; a benchmark the earlier commit lacks is left out. Prints the medians
# and their ratio, and the instruction counts of the built-in compile step
# (callgrind, when valgrind is there).
#
# Usage: bench/warnings_cost.sh [ROUNDS] [BEFORE_COMMIT]   (default 15, c9ddf14)
# Exits 1 when a ratio is above 1.1.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds="${1:-15}"
before="${2:-c9ddf14}"
max_ratio=1.1

source scripts/packages.sh
ensure_packages libbenchmark-dev

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/before"
git archive "$before" | tar -x -C "$work/before"
build() { # SOURCE_DIR BUILD_DIR
  local launcher=()
  if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DSCENARIO_BENCH=ON -DSCENARIO_TESTS=OFF \
    "${launcher[@]}" >/dev/null
  cmake --build "$2" -j"$(nproc)" --target scenario_bench instruction_counts >/dev/null
}
build "$work/before" "$work/build-before"
build . build/bench-release
declare -A bench=([before]="$work/build-before/bench" [after]="build/bench-release/bench")

# One round: each benchmark once in each build, in turn; the real time per
# iteration in milliseconds goes to $work/WHICH.NAME.
filter='BM_Compile(Builtin|LongRoute)InMemory'
for _ in $(seq "$rounds"); do
  for which in before after; do
    "${bench[$which]}/scenario_bench" --benchmark_filter="$filter" --benchmark_format=csv \
      --benchmark_min_time=0.3 2>/dev/null |
      awk -F, -v dir="$work" -v which="$which" '
        $1 ~ /BM_/ { gsub(/"/, "", $1); print $3 >> (dir "/" which "." $1) }'
  done
done

median() { sort -g "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "machine: $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) CPUs," \
  "$(uname -sr)"
echo "$rounds rounds, each benchmark once per build per round (Google Benchmark, median of the rounds)"
printf '  %-30s %12s %12s %8s\n' "" "before ($before)" "after" "ratio"
ok=1
for name in BM_CompileBuiltinInMemory BM_CompileLongRouteInMemory; do
  [ -s "$work/before.$name" ] || continue  # not in the earlier commit
  b="$(median "$work/before.$name")"
  a="$(median "$work/after.$name")"
  ratio="$(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.3f", a / b }')"
  printf '  %-30s %9.3f ms %9.3f ms %8s\n' "$name" "$b" "$a" "$ratio"
  if awk -v r="$ratio" -v t="$max_ratio" 'BEGIN { exit !(r > t) }'; then ok=0; fi
done
echo "  target: a ratio of at most $max_ratio"

if command -v valgrind >/dev/null; then
  count() { # BENCH_DIR FUNCTION MODE
    valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect="*$2*" \
      "$1/instruction_counts" "$3" 2>&1 >/dev/null | awk '/Collected :/ { print $NF }'
  }
  for measure in "counted_compile_step compile the built-in compile step" \
    "counted_reader_pass reader the field reader on a 2 MB source"; do
    read -r function mode words <<<"$measure"
    b="$(count "${bench[before]}" "$function" "$mode")"
    a="$(count "${bench[after]}" "$function" "$mode")"
    if [ -z "$b" ] || [ -z "$a" ]; then continue; fi  # a measure the earlier commit lacks
    echo "instructions of $words: $b before, $a after," \
      "ratio $(awk -v a="$a" -v b="$b" 'BEGIN { printf "%.3f", a / b }')"
  done
fi
[ "$ok" -eq 1 ]
