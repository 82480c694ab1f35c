#!/usr/bin/env bash
# Builds Lastora.dll and the registration toolbox for both bitnesses and lays out the program folders as a treasurer installs
# them: dist/Lastora-win64/ and dist/Lastora-win32/, each with a .zip beside it.
# Usage: package-windows.sh [x64|x86 ...] (both by default)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash scripts/install-deps.sh windows
arches=("$@")
[ ${#arches[@]} -eq 0 ] && arches=(x64 x86)
for arch in "${arches[@]}"; do
  preset="windows-$arch"
  name="Lastora-win64"
  [ "$arch" = x86 ] && name="Lastora-win32"
  cmake --preset "$preset" >/dev/null
  nice -n 10 cmake --build "build/$preset" --target lastora_com lastora_toolbox
  folder="dist/$name"
  rm -rf "$folder" "dist/$name.zip"
  mkdir -p "$folder/DLL" "$folder/Logdateien" "$folder/Vorlagen" "$folder/Sendedaten/_Postfach"
  cp "build/$preset/src/com/Lastora.dll" "$folder/DLL/"
  # The toolbox finds the DLL from its own folder, so it sits above DLL\.
  cp "build/$preset/src/toolbox/LastoraToolbox.exe" "$folder/"
  # The strip keeps the programs small; the symbols stay in the build folder.
  "$( [ "$arch" = x64 ] && echo x86_64 || echo i686 )-w64-mingw32-strip" \
    "$folder/DLL/Lastora.dll" "$folder/LastoraToolbox.exe"
  # Windows' Notepad and the VBA editor expect CR LF.
  sed 's/$/\r/' examples/windows/README.txt >"$folder/README.txt"
  sed 's/$/\r/' examples/windows/Lastora.bas >"$folder/Lastora.bas"
  (cd dist && python3 -m zipfile -c "$name.zip" "$name")
  echo "$folder: $(stat -c %s "$folder/DLL/Lastora.dll") bytes DLL, $(stat -c %s "dist/$name.zip") bytes zip"
done
