#!/bin/bash
# Installs what the build and the tests need, from Debian's archive only, and makes
# the Wine prefix once. Safe to run again: it only acts on what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
    g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686
    wine wine32:i386 wine64
    xvfb xauth x11-utils imagemagick
    fonts-ipafont-gothic locales libc-bin
    cmake ninja-build g++ googletest
    clang libclang-rt-dev
    python3 git
)
# Where the kernel cannot run 32-bit programs, the Wine stages run an x86_64 build.
PACKAGES_WIN64=(g++-mingw-w64-x86-64 mingw-w64-x86-64-dev binutils-mingw-w64-x86-64)

missing_of() {
    local p
    for p in "$@"; do
        [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || echo "$p"
    done
}

install_packages() {
    [ $# -gt 0 ] || return 0
    if [ "$(id -u)" != 0 ]; then
        echo "setup: missing packages ($*); run as root" >&2
        exit 1
    fi
    echo "setup: installing $*" >&2
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
        rm -f /var/lib/apt/lists/.tavrel-updated
    fi
    export DEBIAN_FRONTEND=noninteractive
    if [ ! -e /var/lib/apt/lists/.tavrel-updated ]; then
        apt-get update -qq
        touch /var/lib/apt/lists/.tavrel-updated
    fi
    apt-get install -y -qq --no-install-recommends "$@"
}

mapfile -t missing < <(missing_of "${PACKAGES[@]}")
install_packages "${missing[@]}"
rm -f /var/lib/apt/lists/.tavrel-updated

bits=$(bash -c 'source tools/wine_env.sh 2>/dev/null; echo "$TAVREL_WINE_BITS"')
if [ "$bits" = 64 ]; then
    echo "setup: this machine cannot run 32-bit programs; the Wine stages will run the x86_64 build under 64-bit Wine" >&2
    mapfile -t missing < <(missing_of "${PACKAGES_WIN64[@]}")
    install_packages "${missing[@]}"
    rm -f /var/lib/apt/lists/.tavrel-updated
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    echo "setup: generating the ja_JP.UTF-8 locale" >&2
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# A new shell: one that was running while the locale was generated cannot switch to it.
bash -c 'source tools/wine_env.sh && tavrel_ensure_display && tavrel_make_prefix &&
         echo "setup: ready (prefix $WINEPREFIX, display $DISPLAY, ${TAVREL_WINE_BITS}-bit Wine)" >&2'
