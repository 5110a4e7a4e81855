#!/bin/sh
# Builds the benchmarks (optimised, no sanitizers), runs them and prints one
# markdown table, each time beside the plain lookup-table pass of the same run.
set -eu
cd "$(dirname "$0")"
. scripts/packages.sh
need_packages cmake make g++ libbenchmark-dev
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSTIVRA_TESTS=OFF -DSTIVRA_GAME=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target stivra_bench
exec ./build-bench/bench/stivra_bench "$@"
