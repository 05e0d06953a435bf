#!/usr/bin/env bash
# Builds the Windows executables on this Linux machine with Debian's mingw-w64:
# build/windows/velmora_dorsel.exe and build/windows/scenarioc.exe, each one
# file that needs no DLL beyond those of Windows itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages cmake make g++-mingw-w64-x86-64 nlohmann-json3-dev groff-base

cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DSCENARIO_TESTS=OFF >/dev/null
cmake --build build/windows -j"$(nproc)" --target velmora_dorsel scenarioc
bash tests/windows_dlls_test.sh build/windows/velmora_dorsel.exe build/windows/scenarioc.exe
ls -l build/windows/*.exe
