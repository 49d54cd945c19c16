#!/usr/bin/env bash
# The soak: grotmere-soak plays random keys (walking, items, held left Shift, focus lost and
# regained, now and then a close request or Escape, after which a new game starts) on the shipped
# content, built under AddressSanitizer and UndefinedBehaviorSanitizer, and reports at each
# checkpoint the passes per second, the peak memory and the game's own heap (as the sanitizer's
# allocator counts it: the sanitizer's bookkeeping grows the peak by itself). From a first
# checkpoint of 10,000 passes on, the game's heap at the last may be at most 10% above that at the
# first, or the soak fails. The sanitizers' quarantine of freed memory is kept small.
#
#   bash tools/soak.sh                  # 100,000 and 1,000,000 passes
#   bash tools/soak.sh 1000             # a short run, as tools/test.sh does
#
# It builds grotmere-soak in build-asan (or in the folder GROTMERE_SOAK_BUILD names, which must
# be configured already: build-fuzz holds an optimised sanitizer build, much faster for the long
# run).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${GROTMERE_SOAK_BUILD:-$root/build-asan}"
if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGROTMERE_SANITIZE=ON > /dev/null
fi
cmake --build "$build" --target grotmere-soak > /dev/null
export ASAN_OPTIONS="quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
"$build/grotmere-soak" --dir "$root" "$@"
