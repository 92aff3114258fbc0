#!/usr/bin/env bash
# Applies each deliberate fault in tests/mutations/ to a scratch copy of the
# committed tree, builds, runs every test and says which test programs and
# cases failed. A fault no test catches is a gap in the tests. A tool, not part
# of CI: the working tree is never touched.
#   scripts/run-mutations.sh [--sanitize] [patch ...]
#     --sanitize   the AddressSanitizer/UndefinedBehaviorSanitizer build instead of Release
#     patch ...    only these (paths or names like 05 or 05-float-parameter-unclamped)
# The scratch copy is a detached git worktree in build/mutations/tree (kept between
# runs so builds stay incremental; remove it with
# `git worktree remove --force build/mutations/tree`).
# With the same folder depth as build/<config>, ccache finds the main builds' objects.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

config=release
cmakeArgs=(-DCMAKE_BUILD_TYPE=Release)
if [[ ${1:-} == --sanitize ]]; then
    config=sanitize
    cmakeArgs=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPULSETTA_SANITIZE=ON -DPULSETTA_BENCHMARKS=OFF)
    shift
fi
command -v ccache >/dev/null && cmakeArgs+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
jobs=${JOBS:-6}

patches=()
for wanted in "${@:-tests/mutations/}"; do
    if [[ -d $wanted ]]; then
        patches+=("$wanted"/*.patch)
    elif [[ -f $wanted ]]; then
        patches+=("$wanted")
    else
        patches+=(tests/mutations/"$wanted"*.patch)
    fi
done
for patch in "${patches[@]}"; do
    [[ -f $patch ]] || { echo "no such fault: $patch"; exit 1; }
done

tree=$root/build/mutations/tree
if [[ -d $tree ]]; then
    git -C "$tree" checkout -q --detach "$(git rev-parse HEAD)"
    git -C "$tree" checkout -q -- .
else
    git worktree add -q --detach "$tree" HEAD
fi
build=$tree/build/$config
log=$root/build/mutations/$config.log
: > "$log"

cmake -S "$tree" -B "$build" -G Ninja "${cmakeArgs[@]}" >/dev/null
echo "== unmutated build and tests ($config)"
cmake --build "$build" -j "$jobs" >>"$log" 2>&1 || { echo "the unmutated tree does not build: see $log"; exit 1; }
ctest --test-dir "$build" -j "$jobs" >>"$log" 2>&1 || { echo "the unmutated tree fails its tests: see $log"; exit 1; }

# The failed test programs, each with the failed cases. A program that crashed
# or timed out names no case: it is run again alone to find the case it was in.
failures() {
    awk '
    /^[0-9]+\/[0-9]+ Test: / { name = $3; next }
    /^\[  FAILED  \] [A-Za-z_]/ {
        c = $4; sub(/,$/, "", c)
        if (!((name, c) in seen)) { seen[name, c] = 1; cases[name] = cases[name] " " c } }
    /ERROR: (Address|Undefined|Leak)Sanitizer|runtime error:/ && !(name in sanitizer) {
        sanitizer[name] = 1; line = $0; sub(/^.*(ERROR: |runtime error: )/, "", line); sub(/ (on|at) (unknown )?(address|pc) .*/, "", line); cases[name] = cases[name] " [" line "]" }
    /^Test Failed|\*\*\*Exception|Subprocess aborted|\*\*\*Timeout/ { failed[name] = 1 }
    END { for (n in failed) print n "\t" cases[n] }
    ' "$build/Testing/Temporary/LastTest.log" | sort | while IFS=$'\t' read -r program cases; do
        if [[ $cases != *.* ]]; then
            binary=$(find "$build/tests" -type f -name "$program" -perm -u+x | head -1)
            last=$(cd "$(dirname "$binary")" && PULSETTA_TEST_OUTPUT=$build/test-output timeout 600 "$binary" 2>&1 | grep -o '^\[ RUN      \] [^ ]*' | tail -1 | cut -c14- || true)
            cases="$cases crashed or hung in ${last:-an unknown case}"
        fi
        echo "$program:$cases"
    done
}

missed=0
for patch in "${patches[@]}"; do
    name=$(basename "$patch" .patch)
    echo "== $name: $(head -1 "$patch")"
    git -C "$tree" checkout -q -- .
    if ! git -C "$tree" apply "$(realpath "$patch")" 2>>"$log"; then
        echo "   does not apply to this tree: refresh the patch"
        continue
    fi
    if ! cmake --build "$build" -j "$jobs" >>"$log" 2>&1; then
        echo "   does not build: see $log"
    elif ctest --test-dir "$build" -j "$jobs" >>"$log" 2>&1; then
        echo "   NOT CAUGHT: every test passes"
        missed=$((missed + 1))
    else
        failures | sed 's/^/   caught by /'
    fi
    git -C "$tree" checkout -q -- .
done
# Leaves the scratch build unmutated for the next run.
cmake --build "$build" -j "$jobs" >>"$log" 2>&1 || true
echo "== ${#patches[@]} faults, $missed not caught ($config build); full output in $log"
