#!/usr/bin/env bash
# Counts instructions with valgrind's callgrind, which gives the same count on
# every run whatever else the machine is doing: the field reader per byte of a
# generated source file, and the compile step of the built-in scenario in
# memory. Only the measured function is counted (--toggle-collect), not the
# start of the program nor the making of its input.
#
# Usage: bench/instructions.sh
# Builds bench/instruction_counts as the README builds the program (Release)
# in build/bench-release (BENCH_BUILD_DIR overrides it). Exits 1 when a target
# is missed: the reader under 30 instructions per byte, the compile step under
# 10 million instructions.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${BENCH_BUILD_DIR:-build/bench-release}"
max_reader_per_byte=30
max_compile=10000000

source scripts/packages.sh
ensure_packages valgrind libbenchmark-dev
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DSCENARIO_BENCH=ON \
  -DSCENARIO_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j"$(nproc)" --target instruction_counts >/dev/null
counter="$build_dir/bench/instruction_counts"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# count FUNCTION MODE: instructions inside FUNCTION; the program's own output
# is left in $work/out.
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect="*$1*" \
    "$counter" "$2" >"$work/out" 2>"$work/log"
  awk '/Collected :/ { print $NF }' "$work/log"
}

verdict() { if [ "$1" -eq 1 ]; then echo holds; else echo MISSED; fi; }

reader="$(count counted_reader_pass reader)"
bytes="$(awk '{ print $2 }' "$work/out")"
per_byte="$(awk -v i="$reader" -v b="$bytes" 'BEGIN { printf "%.2f", i / b }')"
reader_ok="$(awk -v p="$per_byte" -v t="$max_reader_per_byte" 'BEGIN { print (p < t) }')"
echo "field reader: $reader instructions for $bytes bytes, $per_byte per byte" \
  "(target under $max_reader_per_byte: $(verdict "$reader_ok"))"

compile="$(count counted_compile_step compile)"
compile_ok="$((compile < max_compile))"
echo "compile step of the built-in scenario in memory: $compile instructions" \
  "(target under $max_compile: $(verdict "$compile_ok"))"

[ "$reader_ok" -eq 1 ] && [ "$compile_ok" -eq 1 ]
