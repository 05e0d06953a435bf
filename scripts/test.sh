#!/usr/bin/env bash
# Builds and runs every test: once with warnings as errors, once more with
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows build's
# under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages cmake make g++ nlohmann-json3-dev clang libclang-rt-14-dev libgtest-dev libgmock-dev \
  libbenchmark-dev libfltk1.3-dev xvfb xauth xdotool x11-apps imagemagick fonts-dejavu-core chromium python3 eslint \
  dpkg-dev groff-base man-db
# stylelint for the report page's style sheet, from npm at the versions of its
# lock file, into build/lint-tools once; offline or without npm its test skips.
lint_spec=tests/tools/scenarioc/report/lint
lint_tools=build/lint-tools
if ! [[ -x $lint_tools/node_modules/.bin/stylelint ]] ||
  ! cmp -s "$lint_spec/package-lock.json" "$lint_tools/package-lock.json"; then
  mkdir -p "$lint_tools"
  cp "$lint_spec/package.json" "$lint_spec/package-lock.json" "$lint_tools/"
  (cd "$lint_tools" && command -v npm >/dev/null && npm ci --no-audit --no-fund --loglevel=error) ||
    echo "stylelint could not be installed: the style sheet's lint test will skip"
fi

jobs="$(nproc)"
run_suite() {
  local dir="$1"
  shift
  cmake -S . -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  (cd "$dir" && ctest --output-on-failure -j"$jobs")
}

echo "== tests, warnings as errors"
run_suite build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_WERROR=ON
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DSCENARIO_WERROR=ON -DSCENARIO_SANITIZE=ON
echo "== Windows executables, cross-built: the core tests and the programs under Wine"
ensure_packages g++-mingw-w64-x86-64 googletest wine wine64 fonts-wine unzip
(
  # One private prefix for the whole run, made once and thrown away after.
  wine_home=$(mktemp -d)
  export WINEPREFIX=$wine_home/prefix
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$wine_home"' EXIT
  source tests/wine_env.sh
  wine_start
  run_suite build/windows-test -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_WERROR=ON -DSCENARIO_LINUX_BUILD="$PWD/build/test"
)
echo "== benchmarks, built and not run"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENARIO_WERROR=ON \
  -DSCENARIO_BENCH=ON -DSCENARIO_TESTS=OFF >/dev/null
cmake --build build/bench -j"$jobs" --target scenario_bench instruction_counts
echo "== fuzzing, a minute per target"
# A short run of every target, bounded so that the whole command stays well
# within CI's time limit.
FUZZ_SECONDS=60 bash fuzz/run.sh
echo "all tests passed"
