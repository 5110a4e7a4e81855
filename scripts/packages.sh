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
