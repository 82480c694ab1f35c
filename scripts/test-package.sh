#!/usr/bin/env bash
# Installs the library as a user would (cmake --install into a fresh prefix) and builds against
# the installed files what a user would build: a small program on the shared library and the
# command-line program on the static one. Both then run from their build folders, far from the
# source tree: the program has to write and check the sample club on its own.
#   scripts/test-package.sh [BUILD_DIR]
# With BUILD_DIR the library is installed from that finished build (CI passes the one its tests
# just used); without, it is built afresh in build/package-lib. LASTORA_WERROR=ON turns compiler
# warnings into errors, as in CI.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# The scratch folders sit in build/ at the depth of the presets' folders, so that ccache finds
# the objects of an earlier `make package`.
scratch="$root/build"
lib="$scratch/package-lib" prefix="$scratch/package-prefix"
consumer="$scratch/package-consumer" cli="$scratch/package-cli" demo="$scratch/package-demo"
rm -rf "$prefix" "$consumer" "$cli" "$demo"
[ $# -gt 0 ] || rm -rf "$lib"
launcher=$(command -v ccache || true)
cmake_configure() {
  cmake -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" "$@" >/dev/null
}

if [ $# -gt 0 ]; then
  lib=$(cd "$1" && pwd)
else
  echo "== Bibliothek bauen"
  cmake_configure -S "$root" -B "$lib" -DLASTORA_BUILD_TESTS=OFF -DLASTORA_BUILD_PROGRAM=OFF \
    -DLASTORA_WERROR="${LASTORA_WERROR:-OFF}"
  nice -n 10 cmake --build "$lib"
fi
echo "== Bibliothek aus $lib nach $prefix installieren"
cmake --install "$lib" --prefix "$prefix" >/dev/null

echo "== Verbraucher-Programm gegen die installierte Bibliothek"
cmake_configure -S "$root/tests/package" -B "$consumer" -DCMAKE_PREFIX_PATH="$prefix"
nice -n 10 cmake --build "$consumer"
# The consumer must have loaded the installed shared library, not some other copy.
loaded=$(ldd "$consumer/consumer")
if ! grep -q "=> $prefix/lib/liblastora.so" <<<"$loaded"; then
  echo "FEHLER: consumer lädt nicht $prefix/lib/liblastora.so" >&2
  echo "$loaded" >&2
  exit 1
fi
"$consumer/consumer"

echo "== Exportierte Symbole der geteilten Bibliothek"
exported=$(nm -D --defined-only -C "$prefix/lib/liblastora.so")
echo "$(wc -l <<<"$exported") Symbole exportiert"
# Everything public lives in namespace lastora or in a namespace below it that an installed
# header opens (lastora::mandate_register), and each of its names is declared in an installed
# header; internals live in other namespaces (detail, ...) or in no header that is installed.
leaked=""
for space in $(grep -oE 'lastora::[a-z_]+::' <<<"$exported" | sort -u); do
  space=${space%::}
  grep -q "namespace $space\b" "$prefix"/include/lastora/*.h ||
    leaked+=$'\n'"$(grep -F "$space::" <<<"$exported")"
done
for name in $(grep -oE 'lastora::[A-Za-z_][A-Za-z0-9_]*' <<<"$exported" | sort -u); do
  grep -qw "${name#lastora::}" "$prefix"/include/lastora/*.h || leaked+=$'\n'"$name"
done
if [ -n "${leaked//$'\n'/}" ]; then
  echo "FEHLER: interne Symbole exportiert:$leaked" >&2
  exit 1
fi

echo "== Kommandozeilenprogramm gegen die installierte Bibliothek"
cmake_configure -S "$root/tests/package/cli" -B "$cli" -DCMAKE_PREFIX_PATH="$prefix" \
  -DLASTORA_WERROR="${LASTORA_WERROR:-OFF}"
nice -n 10 cmake --build "$cli"
"$cli/cli/lastora" --version
"$cli/cli/lastora" --yes --now "2026-03-02 09:30:00" demo "$demo"
ls "$demo/Ausgabe"/*.xml >/dev/null
echo "Paket-Test bestanden"
