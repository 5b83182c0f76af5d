#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, and nothing when it
# is all there: the i386 architecture for 32-bit Wine, the mingw-w64 cross
# compiler, Wine, CMake, GoogleTest's sources and the picture tools the tests
# and the demo use. Runs apt as root, or through sudo.
set -euo pipefail

packages=(
    make cmake python3
    g++-mingw-w64-i686-posix
    wine wine32:i386 fonts-wine
    googletest
    libjpeg-turbo-progs imagemagick
    xvfb xauth
    nsis
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        echo "install-deps: need root or sudo to run: $*" >&2
        exit 1
    fi
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"
}

need_update=no
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    need_update=yes
fi

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
if [ "$need_update" = yes ] || ! apt-cache policy wine32:i386 2>/dev/null | grep -q Candidate:; then
    as_root apt-get update -q
fi
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
