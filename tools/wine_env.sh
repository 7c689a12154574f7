# Sourced by the tools: one Wine prefix, the Japanese locale and a display for every
# Wine process. Wine takes the ANSI code page from each process's Unix locale, so
# every wine, wineserver and reg call runs under the locale chosen below.
# shellcheck shell=bash

TAVREL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TAVREL_ROOT

# Wine runs the programs as they ship (32-bit) wherever the kernel can execute 32-bit
# code. Some kernels cannot (IA-32 emulation switched off: every i386 program, Wine's
# 32-bit loader included, fails with "Exec format error"). There the Wine stages run an
# x86_64 build of the same sources under 64-bit Wine instead, and say so.
tavrel_detect_wine_bits() {
    if [ -x /usr/lib/wine/wine ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        TAVREL_WINE_BITS=64
    else
        TAVREL_WINE_BITS=32
    fi
}
[ -n "${TAVREL_WINE_BITS:-}" ] || tavrel_detect_wine_bits
export TAVREL_WINE_BITS
if [ "$TAVREL_WINE_BITS" = 64 ]; then
    # Debian's wine and wineboot start the 32-bit loader whenever it is installed; a
    # shim first on PATH sends them to the 64-bit one.
    TAVREL_WINE_SHIM=${XDG_CACHE_HOME:-$HOME/.cache}/tavrel-wine64-shim
    if [ ! -x "$TAVREL_WINE_SHIM/wine-stable" ]; then
        mkdir -p "$TAVREL_WINE_SHIM"
        for _tavrel_name in wine wine-stable; do
            printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$TAVREL_WINE_SHIM/$_tavrel_name"
            chmod +x "$TAVREL_WINE_SHIM/$_tavrel_name"
        done
    fi
    case ":$PATH:" in *":$TAVREL_WINE_SHIM:"*) ;; *) PATH=$TAVREL_WINE_SHIM:$PATH ;; esac
    export PATH WINELOADER=/usr/lib/wine/wine64
    # The test build of the programs, and the registry view they see (no WOW6432Node).
    export TAVREL_WIN_BUILD=$TAVREL_ROOT/build/win64
    export TAVREL_WIN_DIST=$TAVREL_ROOT/build/win64/dist
    export TAVREL_PROGRAM_VIEW=64
else
    export TAVREL_WIN_BUILD=$TAVREL_ROOT/build/win32
    export TAVREL_WIN_DIST=$TAVREL_ROOT/dist
    export TAVREL_PROGRAM_VIEW=32
fi

# Bump when the prefix preparation below changes; older prefixes are then remade.
TAVREL_PREFIX_VERSION=4-$TAVREL_WINE_BITS

# Wine's ANSI code page follows the locale: Japanese (932) unless TAVREL_LOCALE names
# another (C.UTF-8 gives 1252, as on a Western Windows). A prefix serves one locale, so
# another locale gets its own prefix unless TAVREL_WINEPREFIX names one.
export TAVREL_LOCALE=${TAVREL_LOCALE:-ja_JP.UTF-8}
export LC_ALL=$TAVREL_LOCALE
if [ "$TAVREL_LOCALE" = ja_JP.UTF-8 ]; then
    export WINEPREFIX=${TAVREL_WINEPREFIX:-$HOME/.cache/tavrel-wine}
else
    export WINEPREFIX=${TAVREL_WINEPREFIX:-$HOME/.cache/tavrel-wine-$TAVREL_LOCALE}
fi
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
# The drive letter that the tests and the demo use as a CD-ROM drive.
TAVREL_CD_LETTER=q

tavrel_log() { printf '[%s] %s\n' "$(date +%H:%M:%S)" "$*" >&2; }

# Start Xvfb when no display is set. A server left running by an earlier call on the
# same display number is reused.
tavrel_ensure_display() {
    if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    local num=${TAVREL_XVFB_DISPLAY:-77}
    export DISPLAY=":$num"
    if xdpyinfo >/dev/null 2>&1; then
        return 0
    fi
    rm -f "/tmp/.X$num-lock" "/tmp/.X11-unix/X$num"
    tavrel_log "starting Xvfb on $DISPLAY"
    setsid nohup Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp \
        >/tmp/tavrel-xvfb-$num.log 2>&1 < /dev/null &
    local _
    for _ in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    tavrel_log "Xvfb did not start (see /tmp/tavrel-xvfb-$num.log)"
    return 1
}

tavrel_prefix_ready() {
    [ -f "$WINEPREFIX/.tavrel-prefix" ] &&
        [ "$(cat "$WINEPREFIX/.tavrel-prefix")" = "$TAVREL_PREFIX_VERSION" ]
}

# Point the CD-ROM drive letter of the current prefix at a Unix folder. Takes effect
# for the next Wine process (the link is resolved on every path lookup).
tavrel_map_cd() {
    ln -sfn "$1" "$WINEPREFIX/dosdevices/$TAVREL_CD_LETTER:"
}

# The shell's Desktop of a fresh prefix links to the Unix home folder; make it a real
# folder inside the prefix so that shortcut tests stay isolated.
tavrel_real_desktop() {
    local user_dir
    for user_dir in "$WINEPREFIX"/drive_c/users/*; do
        [ "$(basename "$user_dir")" = Public ] && continue
        if [ -L "$user_dir/Desktop" ] || [ ! -d "$user_dir/Desktop" ]; then
            rm -f "$user_dir/Desktop"
            mkdir -p "$user_dir/Desktop"
        fi
    done
}

# Make the prefix once: created under the Japanese locale (a prefix made under C draws
# Japanese as boxes), Wine's own captions instead of a window manager (no 2 s stall
# when a window hides on a bare Xvfb), a real Desktop folder and a CD-ROM drive.
tavrel_make_prefix() {
    if tavrel_prefix_ready; then
        return 0
    fi
    tavrel_ensure_display || return 1
    tavrel_log "creating Wine prefix $WINEPREFIX (about 20 s, once)"
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || { tavrel_log "wineboot failed"; return 1; }
    wineserver -w
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
    # A Western Windows that shows Japanese has Japanese fonts installed. Here the IPA fonts
    # stand in for the names the programs ask for; without them a prefix made under another
    # locale draws the programs' Japanese texts as boxes, right as the texts are. (Wine's
    # own captions still draw boxes there: Wine rewrites their font links whenever the
    # code page changes.)
    if [ "$TAVREL_LOCALE" != ja_JP.UTF-8 ]; then
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null
        wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null
    fi
    mkdir -p "$WINEPREFIX/cdrom"
    tavrel_map_cd "$WINEPREFIX/cdrom"
    wine reg add 'HKLM\Software\Wine\Drives' /v "$TAVREL_CD_LETTER:" /d cdrom /f /reg:64 >/dev/null
    wineserver -k 2>/dev/null || true
    wineserver -w
    tavrel_real_desktop
    echo "$TAVREL_PREFIX_VERSION" > "$WINEPREFIX/.tavrel-prefix"
    tavrel_log "Wine prefix ready"
}
