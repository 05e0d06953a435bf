#!/usr/bin/env bash
# Side by side: the whole velmora_dorsel run against copying its six output
# files with cp (the same bytes, no computing), and `scenarioc compile` of a
# 1000000 m scenario against copying its three outputs. Each command runs in a
# fresh folder, many times; the script prints median, minimum and maximum, the
# ratio of the medians and the peak memory (maximum resident set size) of each.
# A rebuild runs over the six files of an earlier build and flushes what it
# replaces to the disk, so it is set beside cp over those files followed by
# sync of them.
#
# Usage: bench/compare.sh [REPETITIONS]      (default 30)
# Uses the README's build in build/ (BUILD_DIR overrides it) and builds
# velmora_dorsel and scenarioc there when they are missing or stale.
# Exits 1 when a target is missed: the whole build and the rebuild at most 1.3
# times their copy, the 1000000 m compile at most 1.5 times the copy of its
# files and under 16 MB of peak memory.
set -euo pipefail
cd "$(dirname "$0")/.."

repetitions="${1:-30}"
build_dir="${BUILD_DIR:-build}"
max_build_ratio=1.3
max_compile_ratio=1.5
max_compile_rss_mb=16

# GNU time gives the peak memory; hyperfine, when present, does the timing.
source scripts/packages.sh
ensure_packages time
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DSCENARIO_TESTS=OFF >/dev/null
fi
cmake --build "$build_dir" -j"$(nproc)" --target velmora_dorsel scenarioc >/dev/null
program="$(realpath "$build_dir/velmora_dorsel")"
scenarioc="$(realpath "$build_dir/tools/scenarioc")"

# Without a display the waiting window is left out, so that no X server takes
# part in the timing.
unset DISPLAY

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- The commands and the fresh folders they start from ---

# The program writes into its own folder: each run gets a new folder holding
# only the program (a hard link where the file system allows one).
prepare_build() {
  rm -rf "$work/run"
  mkdir "$work/run"
  ln "$program" "$work/run/velmora_dorsel" 2>/dev/null || cp "$program" "$work/run/velmora_dorsel"
}
run_build() { $via "$work/run/velmora_dorsel" 2>/dev/null; }
# The same folder holding the six files of an earlier build as well.
prepare_rebuild() {
  prepare_build
  cp "$work/build_outputs/"* "$work/run/"
}

prepare_compile() { rm -rf "$work/compiled" && mkdir "$work/compiled"; }
run_compile() {
  $via "$scenarioc" compile "$work/long/Velmora_Dorsel_linea.txt" "$work/long/Velmora_Dorsel_904-.txt" \
    -o "$work/compiled" >/dev/null
}

prepare_copy() { rm -rf "$work/copy" && mkdir "$work/copy"; }
copy_build_outputs() { $via cp "$work/build_outputs/"* "$work/copy/"; }
copy_compile_outputs() { $via cp "$work/compile_outputs/"* "$work/copy/"; }
# The copy's folder holding the six files already; sync flushes each of them.
prepare_copy_over() {
  prepare_copy
  cp "$work/build_outputs/"* "$work/copy/"
}
copy_over_and_sync() {
  $via cp "$work/build_outputs/"* "$work/copy/"
  $via sync "$work/copy/"*
}

# Empty while timing; GNU time while measuring the peak memory.
via=""

# --- Timing ---

# Nanoseconds on a monotonic enough clock; bash 5 reads it without a process.
now_ns() {
  if [ -n "${EPOCHREALTIME:-}" ]; then
    local t="${EPOCHREALTIME/[.,]/}"
    echo "${t}000"
  else
    date +%s%N
  fi
}

# time_once PREPARE COMMAND: the wall time of COMMAND in nanoseconds.
time_once() {
  "$1"
  local start end
  start="$(now_ns)"
  "$2"
  end="$(now_ns)"
  echo $((end - start))
}

# Runs the two commands in turn, so that a slow spell of the machine falls on
# both; writes one time per line into $work/A.times and $work/B.times.
time_pair_with_loop() {
  local prepare_a="$1" run_a="$2" prepare_b="$3" run_b="$4"
  : >"$work/A.times"
  : >"$work/B.times"
  for _ in $(seq "$repetitions"); do
    time_once "$prepare_a" "$run_a" >>"$work/A.times"
    time_once "$prepare_b" "$run_b" >>"$work/B.times"
  done
}

# hyperfine runs each command through a shell and subtracts the shell's own
# start; this script's functions are exported to that shell.
time_pair_with_hyperfine() {
  export work program scenarioc via
  export -f prepare_build run_build prepare_rebuild prepare_compile run_compile prepare_copy \
    copy_build_outputs copy_compile_outputs prepare_copy_over copy_over_and_sync
  local which
  for which in A B; do
    local prepare run
    if [ "$which" = A ]; then prepare="$1" run="$2"; else prepare="$3" run="$4"; fi
    hyperfine --shell=bash --style=none --warmup 2 --runs "$repetitions" --prepare "$prepare" \
      --export-csv "$work/$which.csv" "$run" >/dev/null
    # median, min and max in seconds, written as the loop writes them.
    awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
             { printf "%.0f\n%.0f\n%.0f\n", $col["median"] * 1e9, $col["min"] * 1e9, $col["max"] * 1e9 }' \
      "$work/$which.csv" >"$work/$which.times"
  done
}

use_hyperfine=0
command -v hyperfine >/dev/null && use_hyperfine=1

time_pair() {
  if [ "$use_hyperfine" -eq 1 ]; then
    time_pair_with_hyperfine "$@"
  else
    time_pair_with_loop "$@"
  fi
}

# "median min max" in milliseconds of a file of times.
summary() {
  if [ "$use_hyperfine" -eq 1 ]; then
    awk '{ v[NR] = $1 / 1e6 } END { printf "%.2f %.2f %.2f\n", v[1], v[2], v[3] }' "$1"
  else
    sort -n "$1" | awk '{ v[NR] = $1 / 1e6 }
      END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
            printf "%.2f %.2f %.2f\n", m, v[1], v[NR] }'
  fi
}

# Peak resident set size in kB of one run from a fresh folder.
peak_rss_kb() {
  "$1"
  via="/usr/bin/time -f %M -o $work/rss"
  "$2"
  via=""
  tail -n 1 "$work/rss"
}

bytes_of() { cat "$@" | wc -c; }

row() { printf '  %-44s %9s %9s %9s %10s\n' "$@"; }

# compare TITLE_A PREPARE_A RUN_A TITLE_B PREPARE_B RUN_B: prints the two rows
# and leaves the ratio of the medians in $ratio and A's peak memory in $rss_a.
compare() {
  time_pair "$2" "$3" "$5" "$6"
  read -r med_a min_a max_a <<<"$(summary "$work/A.times")"
  read -r med_b min_b max_b <<<"$(summary "$work/B.times")"
  rss_a="$(peak_rss_kb "$2" "$3")"
  local rss_b
  rss_b="$(peak_rss_kb "$5" "$6")"
  row "" "median" "min" "max" "peak RSS"
  row "$1" "$med_a ms" "$min_a ms" "$max_a ms" "$((rss_a / 1024)) MB"
  row "$4" "$med_b ms" "$min_b ms" "$max_b ms" "$((rss_b / 1024)) MB"
  ratio="$(awk -v a="$med_a" -v b="$med_b" 'BEGIN { printf "%.2f", a / b }')"
}

verdict() { awk -v ok="$1" 'BEGIN { print (ok ? "holds" : "MISSED") }'; }

# --- The outputs to copy ---

prepare_build
run_build
mkdir "$work/build_outputs"
mv "$work/run/"Velmora_Dorsel_* "$work/build_outputs/"
build_outputs=("$work/build_outputs/"*)
[ "${#build_outputs[@]}" -eq 6 ] || {
  echo "velmora_dorsel did not leave its six files" >&2
  exit 1
}

bench/make_long_route.sh "$scenarioc" "$work/long"
prepare_compile
run_compile
mkdir "$work/compile_outputs"
mv "$work/compiled/"* "$work/compile_outputs/"

# --- The comparison ---

if [ "$use_hyperfine" -eq 1 ]; then
  timer="hyperfine $(hyperfine --version | awk '{ print $2 }')"
elif [ -n "${EPOCHREALTIME:-}" ]; then
  timer="own loop, bash EPOCHREALTIME"
else
  timer="own loop, date +%s%N"
fi
echo "machine: $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) CPUs," \
  "$(uname -sr), $(df -T "$work" | awk 'NR == 2 { print $2 }') under $(dirname "$work")"
echo "$repetitions runs of each command, each in a fresh folder ($timer)"
echo

build_mb="$(awk -v n="$(bytes_of "$work/build_outputs/"*)" 'BEGIN { printf "%.1f", n / 1e6 }')"
compare "velmora_dorsel, the whole build" prepare_build run_build \
  "cp of its 6 files ($build_mb MB)" prepare_copy copy_build_outputs
build_ratio="$ratio"
build_ok="$(awk -v r="$build_ratio" -v t="$max_build_ratio" 'BEGIN { print (r <= t) }')"
echo "  ratio of the medians: $build_ratio (target at most $max_build_ratio: $(verdict "$build_ok"))"
echo

compare "velmora_dorsel over an earlier build" prepare_rebuild run_build \
  "cp over its 6 files, then sync of them" prepare_copy_over copy_over_and_sync
rebuild_ratio="$ratio"
rebuild_ok="$(awk -v r="$rebuild_ratio" -v t="$max_build_ratio" 'BEGIN { print (r <= t) }')"
echo "  ratio of the medians: $rebuild_ratio (target at most $max_build_ratio: $(verdict "$rebuild_ok"))"
echo

compile_mb="$(awk -v n="$(bytes_of "$work/compile_outputs/"*)" 'BEGIN { printf "%.1f", n / 1e6 }')"
compare "scenarioc compile, 1000000 m route" prepare_compile run_compile \
  "cp of its 3 files ($compile_mb MB)" prepare_copy copy_compile_outputs
compile_ok="$(awk -v r="$ratio" -v t="$max_compile_ratio" 'BEGIN { print (r <= t) }')"
compile_rss_ok="$((rss_a < max_compile_rss_mb * 1024))"
echo "  ratio of the medians: $ratio (target at most $max_compile_ratio: $(verdict "$compile_ok"))"
echo "  peak memory of the compile: $((rss_a / 1024)) MB" \
  "(target under $max_compile_rss_mb MB: $(verdict "$compile_rss_ok"))"

[ "$build_ok" -eq 1 ] && [ "$rebuild_ok" -eq 1 ] && [ "$compile_ok" -eq 1 ] &&
  [ "$compile_rss_ok" -eq 1 ]
