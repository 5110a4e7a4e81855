#!/bin/sh
# packages_plan.sh PACKAGES_SH: what the build scripts ask a new user to
# install, decided against a fake package query, a fake id, sudo, df and
# apt-get, never the real ones.
set -u
lib=$1
case "$lib" in /*) ;; *) lib="$(pwd)/$lib" ;; esac
shell=$(command -v sh)
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
fail=0

mkdir "$work/bin"
fake() {  # fake NAME BODY: a program in the fake PATH
  printf '#!%s\n%s\n' "$shell" "$2" >"$work/bin/$1"
  chmod +x "$work/bin/$1"
}
fake id 'echo "$FAKE_UID"'
for tool in grep sed tail; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
fake df 'case "$2" in /usr) m=$FAKE_FREE_USR ;; *) m=$FAKE_FREE_HERE ;; esac
echo "Filesystem 1048576-blocks Used Available Capacity Mounted on"
echo "/dev/fake 100000 1 $m 1% /"'
fake apt-get 'echo "apt-get $*" >>"$FAKE_APT_LOG"'
fake query 'case " $FAKE_INSTALLED " in *" $1 "*) exit 0 ;; esac; exit 1'

# plan UID SUDO(yes/no) INSTALLED SHELL-CODE: runs the code with the library
# sourced; its output goes to $work/out, apt-get's calls to $work/apt.
plan() {
  if [ "$2" = yes ]; then fake sudo 'exit 0'; else rm -f "$work/bin/sudo"; fi
  rm -f "$work/apt"
  env -i PATH="$work/bin" STIVRA_PACKAGE_QUERY="$work/bin/query" FAKE_UID="$1" \
    FAKE_INSTALLED="$3" FAKE_APT_LOG="$work/apt" FAKE_FREE_HERE="${FREE_HERE:-9000}" \
    FAKE_FREE_USR="${FREE_USR:-9000}" "$shell" -c ". '$lib'; $4" >"$work/out" 2>&1
}
expect() {  # expect WHAT COMMAND...: a check that must hold
  what=$1; shift
  "$@" || { echo "FAIL: $what"; echo "--- output:"; cat "$work/out"; fail=1; }
}
has() { grep -qF -- "$1" "$work/out"; }
command_is() { grep -qxF -- "  $1" "$work/out"; }  # the printed command, whole
lines() { [ "$(grep -c -- "$1" "$work/out")" -eq "$2" ]; }

# Nothing missing: silent, and the script goes on.
plan 1000 yes "cmake g++" 'need_packages cmake g++ cmake; echo went-on'
expect "nothing missing goes on silently" [ "$(cat "$work/out")" = went-on ]

# A user with sudo: one command for everything missing, each package once,
# and the script stops before building.
plan 1000 yes "cmake xauth" 'need_packages cmake libsdl2-dev xvfb xauth wine xvfb; echo went-on'
expect "user with sudo gets the sudo command" \
  command_is "sudo apt-get update && sudo apt-get install -y --no-install-recommends libsdl2-dev xvfb wine"
expect "exactly one install command" lines "apt-get install" 1
expect "the script stops" eval '! has went-on'
expect "no apt-get runs for a user" [ ! -f "$work/apt" ]

# Without sudo (a fresh Debian system): the su form, said to be for root.
plan 1000 no "" 'need_packages libsdl2-dev wine'
expect "user without sudo gets the su command" \
  command_is "su -c 'apt-get update && apt-get install -y --no-install-recommends libsdl2-dev wine'"
expect "the su command says as root" has "as root"
expect "no sudo without sudo" eval '! has sudo'

# Root installs by itself and goes on.
plan 0 no "cmake" 'need_packages cmake g++ wine; echo went-on'
expect "root goes on" has went-on
expect "root updates the package lists" grep -qx "apt-get update -q" "$work/apt"
expect "root installs what is missing" \
  grep -q "^apt-get install .*--no-install-recommends .* g++ wine$" "$work/apt"

# The Windows tools are asked for only when the disk has room for them.
fits() { plan 1000 yes "$1" "windows_tools_fit wine g++-mingw-w64-x86-64 && echo fits"; has fits; }
FREE_HERE=9000 FREE_USR=9000
expect "room everywhere: fits" fits ""
FREE_HERE=900
expect "no room for the build: does not fit" eval '! fits "wine g++-mingw-w64-x86-64"'
FREE_HERE=9000 FREE_USR=900
expect "no room to install: does not fit" eval '! fits "wine"'
expect "installed already: fits without room under /usr" fits "wine g++-mingw-w64-x86-64"

# The browser test's npm packages: npm's failure is said in a few lines and
# returned, so that test.sh skips the browser test and goes on.
mkdir -p "$work/web"
fake npm 'echo "npm ERR! code ECONNREFUSED"; echo "npm ERR! request to the registry failed"; exit 1'
plan 0 no "" "npm_packages '$work/web' && echo installed; echo went-on"
expect "a failed npm ci is returned, not fatal" eval 'has went-on && ! has installed'
expect "a failed npm ci is said, with npm's own line" eval 'has "npm could not install" && has ECONNREFUSED'
fake npm 'echo "added 1 package"'
plan 0 no "" "npm_packages '$work/web' && echo installed"
expect "npm ci that works is silent" [ "$(cat "$work/out")" = installed ]
rm "$work/bin/npm"
plan 0 no "" "npm_packages '$work/web' || echo skipped"
expect "no npm at all is said and returned" eval 'has "npm (part of Node.js) is not installed" && has skipped'

# How test.sh ends when the browser test could not run: 1, unless the user
# asked to go without it; a wrong value stops at once.
ending() {  # ending VALUE: the exit code of browser_skipped_end
  env -i PATH="$work/bin" STIVRA_SKIP_BROWSER="$1" "$shell" -c ". '$lib'; browser_skipped_end; echo fell-through" \
    >"$work/out" 2>&1
  echo $?
}
expect "a skipped browser test fails the run" [ "$(ending 0)" -eq 1 ]
expect "the failure says how to pass without it" has "STIVRA_SKIP_BROWSER=1"
expect "the skip is loud" has "!! THE BROWSER TEST WAS SKIPPED"
expect "STIVRA_SKIP_BROWSER=1 passes" [ "$(ending 1)" -eq 0 ]
expect "STIVRA_SKIP_BROWSER=1 still says the browser test was skipped" has "!! THE BROWSER TEST WAS SKIPPED"
expect "STIVRA_SKIP_BROWSER=yes is refused" [ "$(ending yes)" -eq 2 ]

# The real npm, sent to a registry that is not there (a closed port of this
# machine) with an empty cache of its own: it fails, and that is returned.
real_npm=$(command -v npm)
if [ -n "$real_npm" ] && [ -f "$(dirname "$lib")/../web/package-lock.json" ]; then
  cp "$(dirname "$lib")/../web/package.json" "$(dirname "$lib")/../web/package-lock.json" "$work/web/"
  PATH="$(dirname "$real_npm"):/usr/bin:/bin" HOME="$work" npm_config_cache="$work/npm-cache" \
    npm_config_registry=http://127.0.0.1:9/ "$shell" -c ". '$lib'; npm_packages '$work/web' || echo skipped" \
    >"$work/out" 2>&1
  expect "npm without its registry: skipped, said in a few lines" \
    eval 'has skipped && has "npm could not install" && [ "$(wc -l <"$work/out")" -le 6 ]'
  expect "nothing was installed" [ ! -d "$work/web/node_modules/playwright-core" ]
fi

[ "$fail" -eq 0 ] && echo "ok: package plans"
exit $fail
