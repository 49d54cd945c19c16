#!/usr/bin/env bash
# Installs what is missing, builds the game and starts it on the shipped bifs/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install_deps.sh play
cmake -S . -B build-play -G Ninja -DCMAKE_BUILD_TYPE=Release -DGROTMERE_TESTS=OFF
cmake --build build-play --target grotmere grotmere-sim
exec ./build-play/grotmere "$@"
