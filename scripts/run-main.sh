#!/usr/bin/env bash
# The main job: installs what is missing, builds the optimised module and the
# command-line host, has the host load the module and play a factory pattern
# for four bars at the pattern's tempo, and writes the mix and each voice's
# output as WAV files into out/.
#
#   scripts/run-main.sh [bank 1-8] [pattern 1-12]     (default: bank 1, pattern 1)
set -euo pipefail
cd "$(dirname "$0")/.."
bank="${1:-1}"
pattern="${2:-1}"
scripts/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build build/release -j "$(nproc)" --target Pulsetta pulsetta-host pulsetta-play-pattern

module="$(pwd)/build/release/Pulsetta.so"
echo "== The module as a host sees it"
build/release/tools/pulsetta-host "$module" | sed -n 1,13p # sed reads it all: no broken pipe

echo "== Playing bank $bank, pattern $pattern through the command-line host"
build/release/tools/playpattern/pulsetta-play-pattern "$module" out "$bank" "$pattern"

cat <<INSTALL
== The module
  $module
  To use it in a Linux VST host, copy it into ~/.vst (or into any folder
  listed in VST_PATH) and rescan the host's plug-ins:
    mkdir -p ~/.vst && cp "$module" ~/.vst/
INSTALL
