#!/usr/bin/env bash
# Builds the page (the game in WebAssembly, its data and web/index.html) into build-web/page/
# with the distribution's Emscripten: no toolchain is downloaded. Serve that folder with any
# static file server, e.g. python3 -m http.server -d build-web/page 8000 --bind 127.0.0.1.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v emcmake >/dev/null || {
    echo "build_web: emcmake is missing; install the Debian package emscripten" >&2
    exit 1
}
# Debian's emcc finds its JavaScript modules on Node's module path; a node from elsewhere does not
# look there by itself.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel
cmake --build build-web -j"$(nproc)"
