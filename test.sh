#!/bin/sh
# Builds and runs every test: the unit tests and the soak under
# AddressSanitizer and UndefinedBehaviorSanitizer, the SDL2 game's smoke run
# in a private X server, the fuzz targets for a bounded time, and the Windows
# program cross-built with MinGW-w64 and run under Wine.
set -eu
cd "$(dirname "$0")"
. scripts/packages.sh
jobs=$(nproc)

need_packages cmake make g++ libgtest-dev libsdl2-dev xvfb xauth
echo "== Linux: build with sanitizers and run the tests"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSTIVRA_SANITIZE=ON -DSTIVRA_BENCH=OFF >/dev/null
cmake --build build-test -j"$jobs"
(cd build-test && ctest --output-on-failure -j"$jobs")

echo "== Fuzz: libFuzzer on the command line and the replay reader"
need_packages clang libclang-rt-dev
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DSTIVRA_FUZZ=ON \
  -DSTIVRA_TESTS=OFF -DSTIVRA_BENCH=OFF -DSTIVRA_GAME=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_cmdline fuzz_replay
(cd build-fuzz && ctest --output-on-failure -j"$jobs")

echo "== Windows: cross-build and run under Wine"
# MinGW-w64 and Wine need about 1.5 GB installed and 0.7 GB for the Wine prefix.
if [ "$(free_megabytes .)" -lt 3000 ] || { [ -n "$(missing_packages g++-mingw-w64-x86-64 wine wine64)" ] && [ "$(free_megabytes /usr)" -lt 3000 ]; }; then
  echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!"
  echo "!! NOT ENOUGH DISK: the Windows build and its Wine test were SKIPPED. !!"
  echo "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!"
  exit 0
fi
need_packages g++-mingw-w64-x86-64 wine wine64 xvfb xauth
cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-windows -j"$jobs"
(cd build-windows && ctest --output-on-failure)
echo "== All tests passed"
