#!/usr/bin/env bash
# Photographs the toolbox window on a virtual screen: build/toolbox.png. Wine draws the
# window's frame itself on its own desktop, so the caption shows without a window manager.
# Usage: scripts/toolbox-screenshot.sh [build folder, default build/windows-x64]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/windows-x64}" && pwd)"
program="$build/src/toolbox/LastoraToolbox.exe"
shot="$root/build/toolbox.png"
[ -f "$program" ] || { echo "no $program: build the target lastora_toolbox first" >&2; exit 1; }
export WINEPREFIX="${WINEPREFIX:-$build/wine-prefix-toolbox}"

# Inside the virtual screen (the script calls itself there): start the toolbox, wait for its
# window, photograph it, end it.
if [ "${2:-}" = "--inside" ]; then
  "$root/scripts/wine-run.sh" explorer /desktop=Toolbox,1000x500 "$program" &
  started=$!
  for _ in $(seq 1 120); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Toolbox' && break
    sleep 0.5
  done
  sleep 3  # let the controls paint
  # The picture is the toolbox's window with its frame: "WxH+X+Y" from the window list.
  geometry=$(xwininfo -root -tree | grep '"Lastora Toolbox"' | grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+' | head -1)
  echo "window: ${geometry:-not found}"
  import -window root ${geometry:+-crop "$geometry"} "$shot"
  kill "$started" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  exit 0
fi
timeout 300 xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$build" --inside
echo "wrote $shot"
