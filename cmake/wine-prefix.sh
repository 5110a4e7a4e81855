# Sourced by the scripts that run Windows programs under Wine: exports the
# Wine settings and makes the prefix on first use. WINEPREFIX may be set by
# the caller; otherwise the prefix lives in ./wine-prefix of the current
# directory.
: "${WINEPREFIX:=$(pwd)/wine-prefix}"
export WINEPREFIX WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Bump when the settings below change, so that older prefixes get them too.
wine_prefix_version=2
if [ "$(cat "$WINEPREFIX/.stivra-settings" 2>/dev/null)" != "$wine_prefix_version" ]; then
  echo "Making the Wine prefix $WINEPREFIX (once: about 700 MB and a minute)" >&2
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  # There is no window manager: Wine must place its windows itself, or every
  # DestroyWindow waits for one.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Except the game's own window: Wine takes no notice when something outside
  # resizes a window it places itself, and the game must see its new size.
  wine reg add 'HKCU\Software\Wine\AppDefaults\stivra.exe\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1
  # A crash must end the run, not wait at a dialog.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  echo "$wine_prefix_version" >"$WINEPREFIX/.stivra-settings"
fi
