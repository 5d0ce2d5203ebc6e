#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60), starting from the seeds in
# fuzz/corpus/<target>/ plus what earlier runs found (build-fuzz/corpus/<target>/).
#
#   fuzz.sh [SECONDS] [TARGET...]      e.g. fuzz.sh 600 trocatextosql
#
# A crash, a sanitizer report, an exception other than ours or a broken invariant fails the run;
# the input behind it is kept in build-fuzz/artifacts/ (replay: build-fuzz/fuzz/fuzz_X FILE).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${1:-60}
shift || true
[[ $seconds =~ ^[0-9]+$ ]] || {
    echo "usage: fuzz.sh [SECONDS] [TARGET...]" >&2
    exit 2
}

"$root/scripts/deps.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZV_FUZZ=ON \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    for src in "$root"/fuzz/fuzz_*.cpp; do
        name=$(basename -- "$src" .cpp)
        targets+=("${name#fuzz_}")
    done
fi

# A smaller quarantine than the default 256 MB: freed blocks held back across hundreds of thousands
# of runs otherwise push the resident size toward libFuzzer's 2 GB limit.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:quarantine_size_mb=64
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen
mkdir -p -- "$build/artifacts"
failed=()
for t in "${targets[@]}"; do
    corpus=$build/corpus/$t
    mkdir -p -- "$corpus"
    echo "== fuzz_$t: ${seconds}s"
    # New inputs go to the first folder only: the seeds in the repository stay as they are.
    if ! "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -max_len=4096 \
        -artifact_prefix="$build/artifacts/$t-" -print_final_stats=1 \
        "$corpus" "$root/fuzz/corpus/$t" >"$build/fuzz_$t.log" 2>&1; then
        failed+=("$t")
        tail -n 60 -- "$build/fuzz_$t.log" >&2
    fi
    grep -E '^(stat::number_of_executed_units|stat::new_units_added|Done )' "$build/fuzz_$t.log" || true
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "Fuzzing found problems in: ${failed[*]} (inputs in $build/artifacts/)" >&2
    exit 1
fi
echo "Fuzzing: no findings (${targets[*]})"
