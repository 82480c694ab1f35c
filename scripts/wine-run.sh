#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix (build/wine-prefix, or
# $WINEPREFIX), headless, with a time limit so that a stuck dialog cannot hang a test run.
# The prefix is made on first use; concurrent first uses wait for each other.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}"
export WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
# Debian's "wine" always picks the 32-bit loader when it is installed, but a kernel without
# 32-bit support cannot start it: then the 64-bit loader runs the (64-bit) programs itself.
wine=(wine)
if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
  wine=("$WINELOADER")
  # A 32-bit program cannot run then: say so, and end with the status tests treat as skipped.
  if [ -f "${1:-}" ]; then
    pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    if [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')" = "014c" ]; then
      echo "wine-run: $1 is a 32-bit program, and this machine cannot run 32-bit programs" >&2
      exit 77
    fi
  fi
fi
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/.lastora-ready" ]; then
    timeout 300 "${wine[@]}" wineboot -i >/dev/null 2>&1
    timeout 120 wineserver -w
    touch "$WINEPREFIX/.lastora-ready"
  fi
) 9>"$WINEPREFIX.lock"
exec timeout "${WINE_RUN_TIMEOUT:-600}" "${wine[@]}" "$@"
