#!/usr/bin/env bash
# Builds everything and runs every test twice: an optimised build (g++), then a
# build under AddressSanitizer and UndefinedBehaviorSanitizer (clang), which
# also builds the fuzz targets and runs each for a fixed number of runs over
# its seeds. Benchmarks are built by the first, not run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)

echo "== Release build and tests"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

echo "== Sanitizer build and tests, fuzz targets included"
# A sanitizer build configured earlier with another compiler is made anew.
if [ -f build/sanitize/CMakeCache.txt ] && ! grep -q "^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++" build/sanitize/CMakeCache.txt; then
  rm -rf build/sanitize
fi
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULSETTA_SANITIZE=ON -DPULSETTA_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPULSETTA_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"
