#!/usr/bin/env bash
# Installs the Debian 12 packages the game needs: `play` for building and running it, `test` for
# everything the test command runs as well. Installs only what is missing; needs root (or sudo).
set -euo pipefail

play_packages=(g++ cmake ninja-build pkg-config libsdl2-dev libpng-dev nlohmann-json3-dev)
test_packages=("${play_packages[@]}" googletest libgtest-dev libbenchmark-dev xvfb xdotool
    xfonts-base x11-utils xauth python3 clang-14 libclang-rt-14-dev desktop-file-utils appstream
    lintian dpkg-dev man-db emscripten chromium)

case "${1:-test}" in
    play) wanted=("${play_packages[@]}") ;;
    test) wanted=("${test_packages[@]}") ;;
    *) echo "usage: $0 [play|test]" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
