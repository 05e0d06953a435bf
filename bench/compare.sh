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
# velmora_dorsel and scenarioc there when they are missing or stale. With
# BEFORE_DIR naming the build folder of an earlier version, its programs take
# their turn in the same loop and get a row of their own: figures before and
# after, measured side by side.
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
program_before=""
scenarioc_before=""
if [ -n "${BEFORE_DIR:-}" ]; then
  program_before="$(realpath "$BEFORE_DIR/velmora_dorsel")"
  scenarioc_before="$(realpath "$BEFORE_DIR/tools/scenarioc")"
fi

# Without a display the waiting window is left out, so that no X server takes
# part in the timing.
unset DISPLAY

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- The commands and the fresh folders they start from ---

# The program writes into its own folder: each run gets a new folder holding
# only the program (a hard link where the file system allows one).
prepare_build_of() {
  rm -rf "$work/run"
  mkdir "$work/run"
  ln "$1" "$work/run/velmora_dorsel" 2>/dev/null || cp "$1" "$work/run/velmora_dorsel"
}
prepare_build() { prepare_build_of "$program"; }
prepare_build_before() { prepare_build_of "$program_before"; }
run_build() { $via "$work/run/velmora_dorsel" 2>/dev/null; }
# The same folder holding the six files of an earlier build as well.
prepare_rebuild() {
  prepare_build
  cp "$work/build_outputs/"* "$work/run/"
}
prepare_rebuild_before() {
  prepare_build_before
  cp "$work/build_outputs/"* "$work/run/"
}

prepare_compile() { rm -rf "$work/compiled" && mkdir "$work/compiled"; }
compile_with() {
  $via "$1" compile "$work/long/Velmora_Dorsel_linea.txt" "$work/long/Velmora_Dorsel_904-.txt" \
    -o "$work/compiled" >/dev/null
}
run_compile() { compile_with "$scenarioc"; }
run_compile_before() { compile_with "$scenarioc_before"; }

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

source bench/clock.sh

# time_once PREPARE COMMAND: the wall time of COMMAND in nanoseconds.
time_once() {
  "$1"
  local start end
  start="$(now_ns)"
  "$2"
  end="$(now_ns)"
  echo $((end - start))
}

# time_commands PREPARE_1 RUN_1 PREPARE_2 RUN_2 [...]: runs the commands in
# turn, so that a slow spell of the machine falls on all of them; writes one
# time per line into $work/1.times, $work/2.times and so on.
time_commands_with_loop() {
  local commands=("$@") count=$(($# / 2)) i
  for i in $(seq "$count"); do : >"$work/$i.times"; done
  for _ in $(seq "$repetitions"); do
    for i in $(seq "$count"); do
      time_once "${commands[2 * i - 2]}" "${commands[2 * i - 1]}" >>"$work/$i.times"
    done
  done
}

# hyperfine runs each command through a shell and subtracts the shell's own
# start; this script's functions are exported to that shell.
time_commands_with_hyperfine() {
  export work program scenarioc program_before scenarioc_before via
  export -f prepare_build_of prepare_build prepare_build_before run_build prepare_rebuild \
    prepare_rebuild_before prepare_compile compile_with run_compile run_compile_before prepare_copy copy_build_outputs \
    copy_compile_outputs prepare_copy_over copy_over_and_sync
  local commands=("$@") count=$(($# / 2)) i
  for i in $(seq "$count"); do
    hyperfine --shell=bash --style=none --warmup 2 --runs "$repetitions" \
      --prepare "${commands[2 * i - 2]}" --export-csv "$work/$i.csv" "${commands[2 * i - 1]}" >/dev/null
    # median, min and max in seconds, written as the loop writes them.
    awk -F, 'NR == 1 { for (i = 1; i <= NF; i++) col[$i] = i; next }
             { printf "%.0f\n%.0f\n%.0f\n", $col["median"] * 1e9, $col["min"] * 1e9, $col["max"] * 1e9 }' \
      "$work/$i.csv" >"$work/$i.times"
  done
}

use_hyperfine=0
command -v hyperfine >/dev/null && use_hyperfine=1

time_commands() {
  if [ "$use_hyperfine" -eq 1 ]; then
    time_commands_with_hyperfine "$@"
  else
    time_commands_with_loop "$@"
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

# compare TITLE_A PREPARE_A RUN_A TITLE_B PREPARE_B RUN_B [TITLE_C PREPARE_C RUN_C]:
# prints a row for each command and leaves the ratio of the medians of A and B
# in $ratio (of C and B in $ratio_c) and A's peak memory in $rss_a.
compare() {
  local args=("$@") count=$(($# / 3)) i
  local timed=()
  for i in $(seq "$count"); do timed+=("${args[3 * i - 2]}" "${args[3 * i - 1]}"); done
  time_commands "${timed[@]}"
  row "" "median" "min" "max" "peak RSS"
  local medians=() rss=()
  for i in $(seq "$count"); do
    local med min max kb
    read -r med min max <<<"$(summary "$work/$i.times")"
    kb="$(peak_rss_kb "${args[3 * i - 2]}" "${args[3 * i - 1]}")"
    row "${args[3 * i - 3]}" "$med ms" "$min ms" "$max ms" "$((kb / 1024)) MB"
    medians+=("$med")
    rss+=("$kb")
  done
  rss_a="${rss[0]}"
  ratio="$(awk -v a="${medians[0]}" -v b="${medians[1]}" 'BEGIN { printf "%.2f", a / b }')"
  ratio_c=""
  if [ "$count" -eq 3 ]; then
    ratio_c="$(awk -v c="${medians[2]}" -v b="${medians[1]}" 'BEGIN { printf "%.2f", c / b }')"
  fi
}

# compare_with_before ARGUMENTS_OF_COMPARE TITLE_C PREPARE_C RUN_C: compare,
# with the earlier build's command as C when there is one.
compare_with_before() {
  if [ -n "$program_before" ]; then
    compare "$@"
  else
    compare "${@:1:6}"
  fi
}

# The earlier build's ratio, when there is one.
say_ratio_before() {
  if [ -n "$ratio_c" ]; then echo "  before: ratio of the medians $ratio_c"; fi
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
compare_with_before "velmora_dorsel, the whole build" prepare_build run_build \
  "cp of its 6 files ($build_mb MB)" prepare_copy copy_build_outputs \
  "before: the whole build" prepare_build_before run_build
build_ratio="$ratio"
build_ok="$(awk -v r="$build_ratio" -v t="$max_build_ratio" 'BEGIN { print (r <= t) }')"
echo "  ratio of the medians: $build_ratio (target at most $max_build_ratio: $(verdict "$build_ok"))"
say_ratio_before
echo

compare_with_before "velmora_dorsel over an earlier build" prepare_rebuild run_build \
  "cp over its 6 files, then sync of them" prepare_copy_over copy_over_and_sync \
  "before: over an earlier build" prepare_rebuild_before run_build
rebuild_ratio="$ratio"
rebuild_ok="$(awk -v r="$rebuild_ratio" -v t="$max_build_ratio" 'BEGIN { print (r <= t) }')"
echo "  ratio of the medians: $rebuild_ratio (target at most $max_build_ratio: $(verdict "$rebuild_ok"))"
say_ratio_before
echo

compile_mb="$(awk -v n="$(bytes_of "$work/compile_outputs/"*)" 'BEGIN { printf "%.1f", n / 1e6 }')"
compare_with_before "scenarioc compile, 1000000 m route" prepare_compile run_compile \
  "cp of its 3 files ($compile_mb MB)" prepare_copy copy_compile_outputs \
  "before: scenarioc compile" prepare_compile run_compile_before
compile_ok="$(awk -v r="$ratio" -v t="$max_compile_ratio" 'BEGIN { print (r <= t) }')"
compile_rss_ok="$((rss_a < max_compile_rss_mb * 1024))"
echo "  ratio of the medians: $ratio (target at most $max_compile_ratio: $(verdict "$compile_ok"))"
say_ratio_before
echo "  peak memory of the compile: $((rss_a / 1024)) MB" \
  "(target under $max_compile_rss_mb MB: $(verdict "$compile_rss_ok"))"

[ "$build_ok" -eq 1 ] && [ "$rebuild_ok" -eq 1 ] && [ "$compile_ok" -eq 1 ] &&
  [ "$compile_rss_ok" -eq 1 ]
