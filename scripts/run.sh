#!/usr/bin/env bash
# The main job: builds velmora_dorsel and runs it. The program writes its six
# files (three documents, three compiled files) into its own folder, build/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages cmake make g++ nlohmann-json3-dev libfltk1.3-dev

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSCENARIO_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)" --target velmora_dorsel
./build/velmora_dorsel
echo "velmora_dorsel ended with status 0; its files:"
ls -l build/Velmora_Dorsel_*
