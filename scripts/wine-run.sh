#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's private prefix (build/wine-prefix, or
# $WINEPREFIX), headless, with a time limit so that a stuck dialog cannot hang a test run.
# The prefix is made on first use; concurrent first uses wait for each other.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}"
export WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
# The loader is chosen here, not by Debian's "wine": that one takes the 32-bit loader for any
# program it cannot look into, such as C:\windows\system32\regsvr32.exe, and that loader then
# runs the program's 32-bit twin, which cannot load a 64-bit DLL. So the 32-bit loader runs only
# 32-bit program files and programs in syswow64; everything else runs 64-bit.
is_32bit_program() {
  case "$1" in *[Ss][Yy][Ss][Ww][Oo][Ww]64*) return 0 ;; esac
  [ -f "$1" ] || return 1
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')" = "014c" ]
}
export WINELOADER=/usr/lib/wine/wine64
if is_32bit_program "${1:-}"; then
  # A kernel without 32-bit support cannot start it: say so, and end with the status tests
  # treat as skipped.
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "wine-run: $1 is a 32-bit program, and this machine cannot run 32-bit programs" >&2
    exit 77
  fi
  WINELOADER=/usr/lib/wine/wine
fi
wine=("$WINELOADER")
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
