#!/usr/bin/env bash
# Builds the two packages into build/packages/:
#   scenarioc_VERSION-1_amd64.deb        scenarioc, its manual page, bash
#                                        completion and documentation (for
#                                        apt-get install ./build/packages/...)
#   scenarioc-VERSION-windows-x64.zip    scenarioc.exe and velmora_dorsel.exe,
#                                        the documentation as text, a read-me
# The Debian package is built with Debian's hardening flags and must pass
# lintian without an error or a warning.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages cmake make g++ nlohmann-json3-dev libfltk1.3-dev dpkg-dev lintian groff-base

out="$PWD/build/packages"
mkdir -p "$out"

echo "== the Debian package"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build/package -DCMAKE_BUILD_TYPE=Release -DSCENARIO_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build/package -j"$(nproc)" --target scenarioc scenarioc_package_files
(cd build/package && cpack -G DEB -B "$out")
deb=$(ls "$out"/scenarioc_*_"$(dpkg --print-architecture)".deb)
lintian --fail-on error,warning --display-info "$deb"

echo "== the Windows zip"
bash scripts/windows.sh
cmake --build build/windows -j"$(nproc)" --target scenarioc_package_files
(cd build/windows && cpack -G ZIP -B "$out")

echo "packages:"
ls -l "$out"/*.deb "$out"/*.zip
