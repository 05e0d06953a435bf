#!/usr/bin/env bash
# Side by side: `scenarioc check` of a collection of 200 scenarios with one
# worker (-j1) against one worker per processor (the default), in turn, many
# times. Prints median, minimum and maximum wall time of each and the speed-up
# (the ratio of the medians). Beside them, as a yardstick of what the machine
# gives at that moment, two processes with one worker each, each checking half
# of the collection at once: a speed-up of the threads close to theirs means
# the threads lose nothing to each other, and a machine whose other work keeps
# a core busy lets neither finish sooner than one worker.
#
# Usage: bench/check_parallel.sh [REPETITIONS] [SCENARIOS]   (default 10, 200)
# Uses the README's build in build/ (BUILD_DIR overrides it) and builds
# scenarioc there when it is missing or stale.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages time

repetitions="${1:-10}"
scenarios="${2:-200}"
build_dir="${BUILD_DIR:-build}"

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DSCENARIO_TESTS=OFF >/dev/null
fi
cmake --build "$build_dir" -j"$(nproc)" --target scenarioc >/dev/null
scenarioc="$(realpath "$build_dir/tools/scenarioc")"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The collection: the built-in scenario (243 km, 124 signals) under as many
# names, ten to a folder; every fourth has a signal moved onto a
# speed-indicator board, so that some scenarios have a diagnostic to print.
"$scenarioc" emit -o "$work/builtin" >/dev/null
for i in $(seq "$scenarios"); do
  folder="$work/collection/half$((i % 2))/group$((i % 20))"
  mkdir -p "$folder"
  cp "$work/builtin/Velmora_Dorsel_linea.txt" "$folder/Scenario${i}_linea.txt"
  train="$folder/Scenario${i}_904-.txt"
  cp "$work/builtin/Velmora_Dorsel_904-.txt" "$train"
  if [ $((i % 4)) -eq 0 ]; then
    sed -i 's/^segnale,   14800,/segnale,   12700,/' "$train"
  fi
done

source bench/clock.sh

# check NAME FLAGS...: one check under GNU time, which notes its processor
# time (user and system) in $work/NAME.cpu.
check() {
  local name="$1" status=0
  shift
  /usr/bin/time -f "%U %S" -o "$work/$name.cpu" "$scenarioc" check "$@" >"$work/$name.out" 2>&1 ||
    status=$?
  # 1: some scenarios have errors, as intended; anything else is a failure.
  [ "$status" -le 1 ] || { cat "$work/$name.out" >&2; exit 1; }
}

cpu_ns() { cat "$@" | awk '{ t += $1 + $2 } END { printf "%.0f", t * 1e9 }'; }

# time_check FLAGS...: "WALL CPU" in nanoseconds, one check of the collection.
time_check() {
  local start end
  start="$(now_ns)"
  check whole "$work/collection/half0" "$work/collection/half1" "$@"
  end="$(now_ns)"
  echo "$((end - start)) $(cpu_ns "$work/whole.cpu")"
}

# time_halves: the same for two processes with one worker, a half each, at once.
time_halves() {
  local start end
  start="$(now_ns)"
  check half0 "$work/collection/half0" -j1 &
  check half1 "$work/collection/half1" -j1
  wait $!
  end="$(now_ns)"
  echo "$((end - start)) $(cpu_ns "$work/half0.cpu" "$work/half1.cpu")"
}

# The two settings in turn, so that a slow spell of the machine falls on both.
: >"$work/one.times"
: >"$work/all.times"
: >"$work/halves.times"
for _ in $(seq "$repetitions"); do
  time_check -j1 >>"$work/one.times"
  time_check >>"$work/all.times"
  time_halves >>"$work/halves.times"
done

found="$(tail -n 1 "$work/whole.out")"
# "median min max" of the wall times in milliseconds, and the median processor time.
summary() {
  local cpu
  cpu="$(awk '{ print $2 }' "$1" | sort -n | awk '{ v[NR] = $1 / 1e6 }
    END { printf "%.0f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')"
  awk '{ print $1 }' "$1" | sort -n | awk -v cpu="$cpu" '{ v[NR] = $1 / 1e6 }
    END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "%.0f %.0f %.0f %s\n", m, v[1], v[NR], cpu }'
}
read -r med_one min_one max_one cpu_one <<<"$(summary "$work/one.times")"
read -r med_all min_all max_all cpu_all <<<"$(summary "$work/all.times")"
read -r med_two min_two max_two cpu_two <<<"$(summary "$work/halves.times")"

echo "machine: $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) CPUs," \
  "$(uname -sr)"
echo "$repetitions runs of each, in turn; the collection: $found"
echo
row() { printf '  %-44s %9s %9s %9s %12s\n' "$@"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
row "" "median" "min" "max" "median CPU"
row "scenarioc check -j1 (one worker)" "$med_one ms" "$min_one ms" "$max_one ms" "$cpu_one ms"
row "scenarioc check ($(nproc) workers)" "$med_all ms" "$min_all ms" "$max_all ms" "$cpu_all ms"
row "yardstick: 2 processes -j1, half each, at once" "$med_two ms" "$min_two ms" "$max_two ms" \
  "$cpu_two ms"
echo "  speed-up of the workers, ratio of the medians: $(ratio "$med_one" "$med_all")"
echo "  speed-up of the two processes (the yardstick): $(ratio "$med_one" "$med_two")"
