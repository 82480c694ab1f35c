#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix (build/wine-prefix, or
# $WINEPREFIX), headless, with a time limit so that a stuck dialog cannot hang a test run.
# The prefix is made on first use; concurrent first uses wait for each other.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}"
export WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
# Debian's wine command prefers the 32-bit loader once wine32 is installed; on a kernel without
# 32-bit support that loader cannot start, so the 64-bit one is called directly.
wine=wine
if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
  export WINELOADER="$wine"
fi
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.lastora-ready" ]; then
    timeout 300 "$wine" wineboot -i >/dev/null 2>&1
    timeout 120 wineserver -w
    touch "$WINEPREFIX/.lastora-ready"
  fi
) 9>"$WINEPREFIX.lock"
exec timeout "${WINE_RUN_TIMEOUT:-600}" "$wine" "$@"
