#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; quiet when all are there.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-dev libzip-dev zlib1g-dev libfreexl-dev libxlsxwriter-dev libfmt-dev libcli11-dev
  libsqlite3-dev clang)  # clang: scripts/fuzz-smoke.sh; libxlsxwriter: the tests' workbooks
# "windows": also the MinGW-w64 cross compilers, widl and Wine (64- and 32-bit) for the Windows
# build and its tests.
# "office": also LibreOffice and poppler, with which the letter tests render merged documents and
# read them back as a reader sees them.
windows=false
[ "${1:-}" = windows ] && windows=true
if [ "${1:-}" = office ]; then
  packages+=(libreoffice-writer-nogui libreoffice-calc-nogui poppler-utils fonts-liberation
    fonts-dejavu-core)
fi
if $windows; then
  packages+=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools libwine-dev wine wine64
    wine32:i386 xvfb xauth)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive
if $windows && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_cmd dpkg --add-architecture i386
fi
$sudo_cmd apt-get update -qq
# Wine draws its fonts and the X libraries a window needs from its recommended packages.
recommends=--no-install-recommends
$windows && recommends=--install-recommends
$sudo_cmd apt-get install -y -qq "$recommends" "${missing[@]}" >/dev/null
