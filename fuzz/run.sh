#!/usr/bin/env bash
# Builds the fuzz targets with clang (only them: the core libraries with coverage, AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each on its seed corpus for a while.
#
#   fuzz/run.sh [build-dir] [seconds-per-target] [targets-side-by-side]
#
# Defaults: build-fuzz, 30 s, 2. Environment: CMAKE_FLAGS (added to the configure line, e.g. a
# compiler launcher), FUZZ_ONLY (a name pattern: only the targets whose name matches).
#
# Each target starts from a copy of fuzz/corpus/<Name> in <build-dir>/fuzz-corpus/<Name> (what it
# finds is kept there, the seeds in the tree stay as they are) with fuzz/<Name>.dict when there is
# one. A crash, a leak, a time-out or an out-of-memory fails the run: the target's log ends up on
# the output with the input that caused it (kept in <build-dir>/fuzz-artifacts/, shown in hex), and
# the exit status is 1.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-fuzz}
seconds=${2:-30}
parallel=${3:-2}
jobs=$(nproc)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS_FUZZ="-O1 -gline-tables-only" -DKESTREL_FUZZ=ON -DKESTREL_GUI=OFF -DKESTREL_TESTS=OFF \
    ${CMAKE_FLAGS:-} >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
rm -f "$build.configure.log"
cmake --build "$build" --target fuzz_targets -j "$jobs"

targets=()
for binary in "$build"/fuzz/fuzz_*; do
    name=${binary##*/fuzz_}
    [[ -x $binary && -d fuzz/corpus/$name ]] || { echo "fuzz: $binary has no fuzz/corpus/$name" >&2; exit 1; }
    [[ -z ${FUZZ_ONLY:-} || $name == ${FUZZ_ONLY} ]] && targets+=("$name")
done
[[ ${#targets[@]} -gt 0 ]] || { echo "fuzz: no targets built" >&2; exit 1; }

logs=$build/fuzz-logs
artifacts=$build/fuzz-artifacts
mkdir -p "$logs" "$artifacts"
rm -f "$logs"/*.log "$logs"/*.failed

# One target: exit status 0 when the time ran out without a finding.
run_one() {
    local name=$1 work=$build/fuzz-corpus/$1 dict=()
    mkdir -p "$work"
    rm -f "$artifacts/$name"-*
    cp -n fuzz/corpus/"$name"/* "$work"/ 2>/dev/null || true
    [[ -f fuzz/$name.dict ]] && dict=(-dict="fuzz/$name.dict")
    # -timeout: one input running that long is a hang; -rss_limit_mb: two targets share the machine.
    if "$build/fuzz/fuzz_$name" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1536 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "$work" >"$logs/$name.log" 2>&1; then
        echo "fuzz: $name clean ($(grep -o 'stat::number_of_executed_units: *[0-9]*' "$logs/$name.log" |
            grep -o '[0-9]*$' || echo '?') runs in ${seconds}s)"
    else
        touch "$logs/$name.failed"
        echo "fuzz: $name FAILED"
    fi
}

running=0
for name in "${targets[@]}"; do
    run_one "$name" &
    running=$((running + 1))
    if ((running >= parallel)); then
        wait -n || true
        running=$((running - 1))
    fi
done
wait

failed=0
for name in "${targets[@]}"; do
    [[ -f $logs/$name.failed ]] || continue
    failed=1
    echo "======== fuzz_$name failed; the end of its log:"
    tail -n 60 "$logs/$name.log"
    for input in "$artifacts/$name"-*; do
        [[ -f $input ]] || continue
        echo "-------- the input, kept in $input (first 512 bytes):"
        od -A x -t x1z -v "$input" | head -n 34
        echo "   replay: $build/fuzz/fuzz_$name $input"
    done
done
exit "$failed"
