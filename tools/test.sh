#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the suite, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the real-window test, the page in a browser,
# and the fuzzers for a short, bounded time.
#
#   bash tools/test.sh           everything, as CI runs it
#   bash tools/test.sh --quick   the developer's loop: builds what changed in build/ and runs the
#                                suite without the real window, the browser and the install
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

if [[ "${1:-}" == --quick ]]; then
    [[ -f build/CMakeCache.txt ]] ||
        { bash tools/install_deps.sh test && cmake -S . -B build -G Ninja -DGROTMERE_BENCH=ON; }
    cmake --build build -j"$jobs"
    exec ctest --test-dir build -E 'real_window|browser|install' -j"$jobs" --output-on-failure
fi
bash tools/install_deps.sh test

echo "== Build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGROTMERE_BENCH=ON
cmake --build build -j"$jobs"

echo "== Build the page (WebAssembly) =="
bash tools/build_web.sh

echo "== Fuzzing =="
bash tools/run_fuzz.sh 30

echo "== Build under AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGROTMERE_SANITIZE=ON
cmake --build build-asan -j"$jobs"

echo "== Test under AddressSanitizer and UndefinedBehaviorSanitizer =="
# The real window too: its test suppresses the leaks inside the display libraries, which are not
# ours (tests/window/lsan_system_libraries.supp).
ctest --test-dir build-asan --output-on-failure -j"$jobs"

echo "== A short soak of random keys under the sanitizers =="
bash tools/soak.sh 1000

echo "== Test =="
ctest --test-dir build --output-on-failure -j"$jobs"
