#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/*_fuzzer.cpp) with clang-14 under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz, then runs each for SECONDS on a scratch copy of its
# seed corpus (fuzz/corpus/<name without _fuzzer>), so the corpus in the tree never changes.
# Fails when a build fails or a fuzzer finds a crash; crash inputs land in build-fuzz/artifacts.
#
#   bash tools/run_fuzz.sh 30
#   bash tools/run_fuzz.sh 0     # build only
set -euo pipefail

seconds="${1:-30}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"

CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DGROTMERE_FUZZ=ON -DGROTMERE_TESTS=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null

fuzzers=()
for source in "$root"/fuzz/*_fuzzer.cpp; do
    fuzzers+=("$(basename "$source" .cpp)")
done
cmake --build "$build" -j2 --target "${fuzzers[@]}"
# 0 seconds: only build, for a long run by hand (docs/building.md).
[[ "$seconds" == 0 ]] && exit 0

mkdir -p "$build/artifacts"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

for fuzzer in "${fuzzers[@]}"; do
    name="${fuzzer%_fuzzer}"
    corpus="$scratch/$name"
    mkdir -p "$corpus"
    if [[ -d "$root/fuzz/corpus/$name" ]]; then
        cp -r "$root/fuzz/corpus/$name/." "$corpus/"
    fi
    options=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10
             -artifact_prefix="$build/artifacts/$fuzzer-" -print_final_stats=1)
    if [[ -f "$root/fuzz/$name.dict" ]]; then
        options+=(-dict="$root/fuzz/$name.dict")
    fi
    echo "== $fuzzer for ${seconds}s"
    # From the root, includes in the inputs reach the shipped data files, as in the game. The
    # fuzzer's progress lines go to a log; only a failure shows them.
    log="$build/$fuzzer.log"
    if ! (cd "$root" && "$build/$fuzzer" "${options[@]}" "$corpus") > "$log" 2>&1; then
        tail -n 60 "$log"
        echo "== $fuzzer failed; its input is in $build/artifacts" >&2
        exit 1
    fi
    grep -E '^stat::number_of_executed_units' "$log" || true
done
echo "== all fuzzers ran clean"
