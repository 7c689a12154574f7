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
    clang libclang-rt-14-dev
    python3 git
)

missing=()
for p in "${PACKAGES[@]}"; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" != 0 ]; then
        echo "setup: missing packages (${missing[*]}); run as root" >&2
        exit 1
    fi
    echo "setup: installing ${missing[*]}" >&2
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    echo "setup: generating the ja_JP.UTF-8 locale" >&2
    localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi

# shellcheck source=tools/wine_env.sh
source tools/wine_env.sh
tavrel_ensure_display
tavrel_make_prefix
echo "setup: ready (prefix $WINEPREFIX, display $DISPLAY)" >&2
