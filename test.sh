#!/bin/sh
# Builds and runs every test: the unit tests and the soak under
# AddressSanitizer and UndefinedBehaviorSanitizer, the SDL2 game's smoke run
# in a private X server, the fuzz targets for a bounded time, and the Windows
# program cross-built with MinGW-w64 and run under Wine.
set -eu
cd "$(dirname "$0")"
. scripts/packages.sh
jobs=$(nproc)

# Every package is asked for here, before anything is built, so that a new
# user installs them all with one command. MinGW-w64 and Wine need about
# 1.5 GB installed and 0.7 GB for the Wine prefix: without that much disk the
# Windows part is skipped (loudly, below) and its packages are not asked for.
# clang builds the fuzz targets.
packages="cmake make g++ libgtest-dev libsdl2-dev xvfb xauth clang libclang-rt-dev"
windows_packages="g++-mingw-w64-x86-64 wine wine64 xvfb xauth xdotool imagemagick"
windows=0
if windows_tools_fit $windows_packages; then
  windows=1
  packages="$packages $windows_packages"
fi
# emscripten and Chromium need about 1.3 GB installed; the browser test's
# own Node.js packages (web/package-lock.json) are installed with npm.
web_packages="emscripten chromium python3"
command -v npm >/dev/null || web_packages="$web_packages npm"
web=0
# shellcheck disable=SC2086
if tools_fit 500 2500 $web_packages; then
  web=1
  packages="$packages $web_packages"
fi
# shellcheck disable=SC2086
need_packages $packages

# Each section below runs or says loudly that it was skipped; the script
# ends here at its end, never in the middle.
skipped() {  # skipped WHAT: the loud line for a part left out for lack of disk
  line="!! NOT ENOUGH DISK: $1 SKIPPED. !!"
  bar=$(printf '%s' "$line" | tr '[:print:]' '!')
  printf '%s\n%s\n%s\n' "$bar" "$line" "$bar"
}

echo "== Linux: build with sanitizers and run the tests"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSTIVRA_SANITIZE=ON -DSTIVRA_BENCH=OFF -DSTIVRA_WERROR=ON >/dev/null
cmake --build build-test -j"$jobs"
echo "Running the Linux tests: a few minutes. The longest, each a minute or more without output:"
echo "  soak (200,000 Ticks of random input) and AutoPlayer.WinsAndItsRecordPlaysBackTheSameGame"
echo "  (a whole game played and replayed under the sanitizers)."
(cd build-test && ctest --output-on-failure -j"$jobs")

echo "== Browser: web build and headless Chromium test"
if [ "$web" -eq 1 ]; then
  ./web.sh --build-only
  web/test/run.sh build-test/stivra build-web/web build-test/browser
else
  skipped "the web build and its browser test were"
fi

echo "== Fuzz: libFuzzer on the command line and the replay reader"
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DSTIVRA_FUZZ=ON \
  -DSTIVRA_TESTS=OFF -DSTIVRA_BENCH=OFF -DSTIVRA_GAME=OFF -DSTIVRA_WERROR=ON >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_cmdline fuzz_replay fuzz_game
(cd build-fuzz && ctest --output-on-failure -j"$jobs")

echo "== Windows: cross-build and run under Wine"
if [ "$windows" -eq 1 ]; then
  cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DSTIVRA_WERROR=ON >/dev/null
  cmake --build build-windows -j"$jobs"
  echo "Running the Windows tests under Wine: windows.wine_prefix makes the Wine prefix once (about"
  echo "  a minute), windows.replays replays every recorded run on both builds (about a minute)."
  (cd build-windows && ctest --output-on-failure)
else
  skipped "the Windows build and its Wine test were"
fi

echo "== Release: the downloads built by release.sh and checked as players get them"
# Needs the Windows and the browser builds, lintian and the desktop checkers,
# and about 1.5 GB for the release's own build folders.
release_packages="lintian desktop-file-utils appstream dpkg-dev python3"
# shellcheck disable=SC2086
if [ "$windows" -eq 1 ] && [ "$web" -eq 1 ] && tools_fit 1500 400 $release_packages; then
  # shellcheck disable=SC2086
  need_packages $release_packages
  ./release.sh
  tests/release_check.sh dist build-release-check
else
  skipped "the release and its checks were"
fi
echo "== All tests passed"
