#!/bin/sh
# Runs a Windows program under Wine inside a private X server, with a Wine
# prefix of its own (made on first use), and passes on its exit code.
# WINEPREFIX may be set by the caller; otherwise the prefix lives beside
# this build in ./wine-prefix of the current directory.
set -u
: "${WINEPREFIX:=$(pwd)/wine-prefix}"
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Without a window manager Wine waits for one on every DestroyWindow.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # A crash must end the run, not wait at a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
fi
exec xvfb-run -a -s "-screen 0 1024x768x24" sh -c 'wine "$@"; r=$?; wineserver -w; exit $r' sh "$@"
