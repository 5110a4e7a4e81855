#!/bin/sh
# Runs a Windows program under Wine inside a private X server, with a Wine
# prefix of its own (made on first use, see wine-prefix.sh), and passes on
# its exit code.
set -u
. "$(dirname "$0")/wine-prefix.sh"
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$@"; r=$?; wineserver -w; exit $r' sh "$@"
