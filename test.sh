#!/bin/sh
# Builds and runs every test: the unit tests and the soak under
# AddressSanitizer and UndefinedBehaviorSanitizer, the SDL2 game's smoke run
# in a private X server, the page in headless Chromium, the fuzz targets for
# a bounded time, the Windows program cross-built with MinGW-w64 and run
# under Wine, and a release built and checked as players get it.
# STIVRA_SKIP_BROWSER=1 leaves the browser test out (it needs the npm
# registry) and still passes; without it, a browser test that could not run
# fails the script at its end, after every other part.
set -eu
cd "$(dirname "$0")"
. scripts/packages.sh
jobs=$(nproc)

# Every package is asked for here, before anything is built, so that a new
# user installs them all with one command and runs the script once more.
# MinGW-w64 and Wine need about 1.5 GB installed and 0.7 GB for the Wine
# prefix: without that much disk the Windows part is skipped (loudly, below)
# and its packages are not asked for; so with the browser and the release.
# clang builds the fuzz targets; zlib deflates stivra-tool's PNGs.
packages="cmake make g++ libgtest-dev libsdl2-dev zlib1g-dev xvfb xauth clang libclang-rt-dev"
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
# The release needs the Windows and the browser builds, lintian and the
# desktop checkers, and about 1.5 GB for its own build folders.
release_packages="lintian desktop-file-utils appstream dpkg-dev python3"
release=0
# shellcheck disable=SC2086
if [ "$windows" -eq 1 ] && [ "$web" -eq 1 ] && tools_fit 1500 400 $release_packages; then
  release=1
  packages="$packages $release_packages"
fi
skip_browser_asked || true  # a wrong STIVRA_SKIP_BROWSER stops here, not at the end
# shellcheck disable=SC2086
need_packages $packages

# Each section below runs or says loudly that it was skipped; the script
# ends here at its end, never in the middle.
skipped() {  # skipped WHAT: the loud line for a part left out for lack of disk
  loud "NOT ENOUGH DISK: $1 SKIPPED."
}

echo "== Linux: build with sanitizers and run the tests"
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Debug -DSTIVRA_SANITIZE=ON -DSTIVRA_BENCH=OFF -DSTIVRA_WERROR=ON >/dev/null
cmake --build build-test -j"$jobs"
echo "Running the Linux tests: a few minutes. The longest, each a minute or more without output:"
echo "  soak (200,000 Ticks of random input) and AutoPlayer.WinsAndItsRecordPlaysBackTheSameGame"
echo "  (a whole game played and replayed under the sanitizers)."
(cd build-test && ctest --output-on-failure -j"$jobs")
# ctest shows nothing of a test it skipped: say here why each was.
grep -hi '^skip\(ped\)\{0,1\}: ' build-test/Testing/Temporary/LastTest.log 2>/dev/null | sort -u | sed 's/^[A-Za-z]*: */  skipped: /' || true

echo "== Browser: web build and headless Chromium test"
# The browser test's npm packages come from the npm registry: without it the
# test is skipped, every other part still runs, and the end says so.
browser_skipped=0
if [ "$web" -eq 1 ]; then
  ./web.sh --build-only
  if skip_browser_asked; then
    browser_skipped=1
    loud "THE BROWSER TEST IS SKIPPED (STIVRA_SKIP_BROWSER=1)."
  elif ! npm_packages web; then
    browser_skipped=1
    loud "NO NPM PACKAGES: THE BROWSER TEST IS SKIPPED; THE OTHER PARTS RUN."
  else
    web/test/run.sh build-test/stivra build-web/web build-test/browser
  fi
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
  # The toolchain is read only when the folder is first configured; named
  # again, CMake warns that it went unused.
  toolchain=-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw64.cmake
  grep -q '^CMAKE_TOOLCHAIN_FILE:' build-windows/CMakeCache.txt 2>/dev/null && toolchain=
  cmake -S . -B build-windows $toolchain -DCMAKE_BUILD_TYPE=Release -DSTIVRA_WERROR=ON >/dev/null
  cmake --build build-windows -j"$jobs"
  echo "Running the Windows tests under Wine: windows.wine_prefix makes the Wine prefix once (about"
  echo "  a minute), windows.replays replays every recorded run on both builds (about a minute)."
  (cd build-windows && ctest --output-on-failure)
else
  skipped "the Windows build and its Wine test were"
fi

echo "== Release: the downloads built by release.sh and checked as players get them"
if [ "$release" -eq 1 ]; then
  ./release.sh
  # Without the browser test's npm packages the page from the web zip is not
  # started (the end below says so); everything else is checked.
  STIVRA_SKIP_PAGE_CHECK=$browser_skipped tests/release_check.sh dist build-release-check
else
  skipped "the release and its checks were"
fi
[ "$browser_skipped" -eq 0 ] || browser_skipped_end
echo "== All tests passed"
