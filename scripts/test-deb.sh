#!/usr/bin/env bash
# Builds the Debian package (make package) and checks it as a user's machine would see it: the
# files it carries, and the program unpacked from it writing and checking the sample club in a
# folder far from the source tree. The package is unpacked (dpkg -x); as root on a machine that does
# not have it yet (CI), it is also installed with dpkg -i, run from /usr/bin, and removed again.
#   scripts/test-deb.sh [BUILD_DIR]
# With BUILD_DIR the package is made there from the finished build (cpack); without, by
# `make package` in build/release.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -gt 0 ]; then
  build=$(cd "$1" && pwd)
  rm -f "$build"/lastora_*.deb
  (cd "$build" && cpack >/dev/null)
else
  build="$root/build/release"
  rm -f "$build"/lastora_*.deb
  make -C "$root" --no-print-directory package WERROR="${LASTORA_WERROR:-OFF}"
fi
deb=$(ls "$build"/lastora_*.deb)
echo "== $deb"
contents=$(dpkg -c "$deb")
echo "$contents"

missing=0
for wanted in ./usr/bin/lastora ./usr/lib/liblastora.so ./usr/lib/liblastora.a \
  ./usr/include/lastora/lastora.h ./usr/include/lastora/export.h \
  ./usr/lib/cmake/lastora/lastoraConfig.cmake ./usr/lib/cmake/lastora/lastoraSharedTargets.cmake \
  ./usr/lib/cmake/lastora/lastoraStaticTargets.cmake ./usr/share/man/man1/lastora.1 \
  ./usr/share/lastora/schemas/pain.008.002.02.xsd ./usr/share/lastora/schemas/pain.001.002.03.xsd; do
  if ! grep -qE " $wanted( |$)" <<<"$contents"; then
    echo "FEHLER: $wanted fehlt im Paket" >&2
    missing=1
  fi
done
[ "$missing" -eq 0 ]
dpkg-deb -f "$deb" Depends

unpacked=$(mktemp -d /tmp/lastora-deb.XXXXXX)
trap 'rm -rf "$unpacked"' EXIT
dpkg -x "$deb" "$unpacked/root"
man -l "$unpacked/root/usr/share/man/man1/lastora.1" >/dev/null
cd "$unpacked"
env -u LASTORA_HOME LD_LIBRARY_PATH="$unpacked/root/usr/lib" \
  "$unpacked/root/usr/bin/lastora" --yes --now "2026-03-02 09:30:00" demo "$unpacked/verein"
ls "$unpacked/verein/Ausgabe"/*.xml

installed() { dpkg-query -W -f='${Status}' lastora 2>/dev/null | grep -q ' installed$'; }
if [ "$(id -u)" -eq 0 ] && ! installed; then
  trap 'dpkg -P lastora >/dev/null 2>&1 || true; rm -rf "$unpacked"' EXIT
  dpkg -i "$deb"
  # A user's first run: no --home, no LASTORA_HOME; the log folder goes to the user's data folder,
  # since nobody may write beside /usr/bin/lastora.
  mkdir "$unpacked/user"
  (cd "$unpacked" && env -u LASTORA_HOME -u XDG_DATA_HOME HOME="$unpacked/user" \
    lastora --yes --now "2026-03-02 09:30:00" demo installiert)
  ls "$unpacked/installiert/Ausgabe"/*.xml
  (cd "$unpacked" && env -u LASTORA_HOME -u XDG_DATA_HOME HOME="$unpacked/user" \
    lastora --yes --now "2026-03-02 09:30:00" run -s installiert/verein.ini -d zweiter-lauf) || true
  ls "$unpacked/zweiter-lauf"/*.xml
  test -d "$unpacked/user/.local/share/lastora"
  test ! -e /usr/bin/Logdateien
  dpkg -P lastora
  echo "Installiert mit dpkg -i, gelaufen und wieder entfernt"
fi
echo "Debian-Paket in Ordnung"
