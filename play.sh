#!/bin/sh
# Builds the game (SDL2) and starts it. Arguments are passed to the game.
set -eu
cd "$(dirname "$0")"
. scripts/packages.sh
need_packages cmake make g++ libsdl2-dev zlib1g-dev
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTIVRA_TESTS=OFF -DSTIVRA_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target stivra stivra-tool
exec ./build/stivra "$@"
