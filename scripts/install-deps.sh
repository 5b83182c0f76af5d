#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, and nothing when it
# is all there: the i386 architecture for 32-bit Wine, the mingw-w64 cross
# compiler, Wine, CMake, GoogleTest's sources, the picture tools the tests
# and the demo use, the tools that sign a release, and clang with libFuzzer
# for the parsers' fuzzers (tests/fuzz). With Wine come every locale, so that
# Wine can take any user interface language from LANG, and a font with
# Chinese and Japanese characters, which Wine's own fonts lack, and an X
# server that shows several monitors. Runs apt as root, or through sudo.
# "install-deps.sh fuzz" installs only what the fuzzers need.
#
# A host whose kernel runs no 32-bit code cannot run Wine's 32-bit loader: it
# gets QEMU and debootstrap instead, and scripts/wine-vm.sh makes the small
# emulated machine that Wine then runs in.
set -euo pipefail
scripts=$(cd "$(dirname "$0")" && pwd)
source "$scripts/apt-lists.sh"

fuzz_packages=(make cmake clang libclang-rt-14-dev)
# Several monitors under Wine (scripts/monitors.sh): an X server with the
# dummy video driver, xrandr to lay its outputs out, and the libraries Wine's
# X11 driver loads to list monitors, for its 32-bit and its 64-bit side (Wine
# only recommends them).
monitor_packages=(
    xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
    libxrandr2:amd64 libxrandr2:i386 libxinerama1:amd64 libxinerama1:i386
)
packages=(
    "${fuzz_packages[@]}" python3
    g++-mingw-w64-i686-posix
    googletest
    libjpeg-turbo-progs imagemagick
    xvfb xauth
    nsis
    osslsigncode openssl
)
if [ "${1:-}" = fuzz ]; then
    packages=("${fuzz_packages[@]}")
    wine_in_vm=none
elif "$scripts/wine-vm.sh" needed; then
    packages+=(qemu-system-x86 debootstrap)
    wine_in_vm=yes
else
    packages+=(wine wine32:i386 wine64 fonts-wine locales-all fonts-wqy-microhei)
    packages+=("${monitor_packages[@]}")
    wine_in_vm=no
fi

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
if [ "$wine_in_vm" = no ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    need_update=yes
fi

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "install-deps: installing ${missing[*]}"
    # The lists are refreshed only when apt does not know every missing
    # package yet (a fresh machine, or a new architecture).
    if [ "$need_update" = yes ] || ! apt_candidates_known command "${missing[@]}"; then
        apt_refresh_lists as_root
    fi
    apt_install as_root -- "${missing[@]}" ||
        { apt_explain_install_failure; exit 1; }
fi
if [ "$wine_in_vm" = yes ]; then
    as_root "$scripts/wine-vm.sh" setup
fi
