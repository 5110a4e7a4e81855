# Sourced by the build scripts: installs missing Debian/Ubuntu packages when
# run as root, otherwise prints the exact command and stops.

missing_packages() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || printf '%s ' "$p"
  done
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
    echo "Install them with:"
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends $missing"
    exit 1
  fi
}

# Free megabytes on the file system that holds the given directory.
free_megabytes() {
  df -Pm "$1" | awk 'NR==2 {print $4}'
}
