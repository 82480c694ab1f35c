#!/usr/bin/env bash
# Builds the Windows side for one or both bitnesses and runs its tests under Wine: the library's
# unit tests, the server's late-bound tests, the toolbox's tests, and a VBScript that registers the
# DLL with regsvr32, drives it through cscript and unregisters it again.
# Usage: test-windows.sh [x64|x86 ...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh windows
arches=("$@")
if [ ${#arches[@]} -eq 0 ]; then
  arches=(x64 x86)
  # A kernel without 32-bit support cannot start Wine's 32-bit loader: say so, test 64-bit only.
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "test-windows: 32-bit programs cannot start on this machine; testing 64-bit only" >&2
    arches=(x64)
  fi
fi
wine_run="$root/scripts/wine-run.sh"
# Wine's server outlives the last program by a moment and then writes the prefix's registry: the
# script waits for it, so that nothing writes into the build folder after the script has ended
# (a caller removing that folder would otherwise race it), whether the tests passed or not.
trap 'WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}" timeout 120 wineserver -w || true' EXIT

script_test() {
  local build="$1" system="$2"
  local dll
  dll="Z:$(echo "$root/$build/src/com/Lastora.dll" | tr / '\\')"
  local vbs="Z:$(echo "$root/tests/com/late_bound.vbs" | tr / '\\')"
  WINE_RUN_TIMEOUT=120 "$wine_run" "C:\\windows\\$system\\regsvr32.exe" /s "$dll"
  local output
  output=$(WINE_RUN_TIMEOUT=120 "$wine_run" "C:\\windows\\$system\\cscript.exe" //nologo "$vbs" | tr -d '\r')
  WINE_RUN_TIMEOUT=120 "$wine_run" "C:\\windows\\$system\\regsvr32.exe" /s /u "$dll"
  echo "$output"
  # Wine's VBScript ends silently on an unhandled error: only the last line proves the run.
  [ "$(echo "$output" | tail -n 1)" = "DONE" ]
}

for arch in "${arches[@]}"; do
  start=$(date +%s)
  build="build/windows-$arch"
  system=system32
  [ "$arch" = x86 ] && system=syswow64
  cmake --preset "windows-$arch" >/dev/null
  nice -n 10 cmake --build "$build"
  # A Wine call that hangs ends the test at five minutes instead of holding up the run.
  ctest --test-dir "$build" --output-on-failure --timeout 300
  script_test "$build" "$system"
  echo "windows-$arch: $(( $(date +%s) - start )) s"
done
