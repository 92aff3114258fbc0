#!/usr/bin/env bash
# The main job: installs what is missing, builds the optimised module and the
# command-line host, then loads the module and prints its record.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build build/release -j "$(nproc)" --target Pulsetta pulsetta-host

echo "== Exported symbols of build/release/Pulsetta.so"
nm -D --defined-only build/release/Pulsetta.so
echo "== The module as a host sees it"
build/release/tools/pulsetta-host build/release/Pulsetta.so
