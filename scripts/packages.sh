# Sourced by the build scripts. Each script names every Debian/Ubuntu package
# it will need before it builds anything; need_packages then installs the
# missing ones when run as root, or prints one command for all of them and
# stops, so a new user is asked only once.
#
# STIVRA_PACKAGE_QUERY may name a program that answers instead of dpkg: it is
# called with one package name and succeeds when that package is installed.

package_installed() {
  if [ -n "${STIVRA_PACKAGE_QUERY:-}" ]; then
    "$STIVRA_PACKAGE_QUERY" "$1"
  else
    dpkg-query -W -f='${Status}\n' "$1" 2>/dev/null | grep -q 'install ok installed'
  fi
}

# The missing packages among the arguments, each named once, in order.
missing_packages() {
  _missing=""
  for _p in "$@"; do
    case " $_missing " in *" $_p "*) continue ;; esac
    package_installed "$_p" || _missing="${_missing:+$_missing }$_p"
  done
  echo "$_missing"
}

# The one command line that installs the packages: through sudo where there
# is one, otherwise through su, which asks for root's password (a fresh
# Debian system has no sudo).
install_command() {
  if command -v sudo >/dev/null 2>&1; then
    echo "sudo apt-get update && sudo apt-get install -y --no-install-recommends $*"
  else
    echo "su -c 'apt-get update && apt-get install -y --no-install-recommends $*'"
  fi
}

need_packages() {
  missing=$(missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: $missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q || exit 1
    # shellcheck disable=SC2086
    apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 $missing || exit 1
  else
    echo "These packages are missing: $missing"
    if command -v sudo >/dev/null 2>&1; then
      echo "Install them with this one command, then run the script again:"
    else
      echo "Install them as root with this one command (su asks for root's password), then run the script again:"
    fi
    # shellcheck disable=SC2086
    echo "  $(install_command $missing)"
    exit 1
  fi
}

# Free megabytes on the file system that holds the given directory (0 when
# df cannot tell).
free_megabytes() {
  df -Pm "$1" 2>/dev/null | { read -r _; read -r _ _ _ available _; echo "${available:-0}"; }
}

# Whether an optional part of the tests fits on the disk: BUILD_MB free beside
# the build, and INSTALL_MB under /usr unless the packages are installed already.
tools_fit() {  # tools_fit BUILD_MB INSTALL_MB PACKAGES...
  build_mb=$1 install_mb=$2
  shift 2
  [ "$(free_megabytes .)" -ge "$build_mb" ] || return 1
  [ -z "$(missing_packages "$@")" ] || [ "$(free_megabytes /usr)" -ge "$install_mb" ]
}

# The Windows cross-build and its Wine test: about 3 GB for the build and the
# Wine prefix, and as much for MinGW-w64 and Wine.
windows_tools_fit() { tools_fit 3000 3000 "$@"; }

# The loud line of a part that was left out, framed in a bar of '!'.
loud() {  # loud TEXT
  _bar=$(printf '!! %s !!' "$1" | tr '[:print:]' '!')
  printf '%s\n!! %s !!\n%s\n' "$_bar" "$1" "$_bar"
}

# Installs the browser test's npm packages (web/package-lock.json) into
# web/node_modules. Where npm cannot have them (no network, the registry out
# of reach) it says so with npm's last lines and returns 1: the caller skips
# the browser test instead of stopping there.
npm_packages() {  # npm_packages WEB_DIR
  if ! command -v npm >/dev/null 2>&1; then
    echo "npm (part of Node.js) is not installed."
    return 1
  fi
  _log=$(cd "$1" && npm ci --no-audit --no-fund --loglevel=error --fetch-retries=1 \
    --fetch-retry-maxtimeout=10000 2>&1) && return 0
  echo "npm could not install the browser test's packages (web/package-lock.json):"
  printf '%s\n' "$_log" | grep -v '^npm ERR! *$' | tail -n 4 | sed 's/^/    /'
  return 1
}

# Whether the browser test is to be left out: STIVRA_SKIP_BROWSER=1 asks for
# it; anything else but 0 or nothing is named and stops.
skip_browser_asked() {
  case "${STIVRA_SKIP_BROWSER:-0}" in
    1) return 0 ;;
    0) return 1 ;;
    *) echo "STIVRA_SKIP_BROWSER must be 1 or 0, not '$STIVRA_SKIP_BROWSER'" >&2; exit 2 ;;
  esac
}

# The end of test.sh when the browser test could not run: loud, and a
# failure unless the user asked to go without it (STIVRA_SKIP_BROWSER=1).
browser_skipped_end() {
  loud "THE BROWSER TEST WAS SKIPPED: every other part ran and passed."
  if skip_browser_asked; then
    echo "== All tests but the browser test passed (STIVRA_SKIP_BROWSER=1)"
    exit 0
  fi
  echo "FAIL: the browser test did not run. Run ./test.sh again where npm reaches its registry,"
  echo "  or set STIVRA_SKIP_BROWSER=1 to pass without it."
  exit 1
}
