#!/bin/bash
# Builds everything: the native tree (libraries, unit tests, artwork generators), the
# generated artwork, the Windows programs (MinGW-w64 i686) into dist/, and the demo CD
# folder dist/cd/. Usage: tools/build.sh [--native] [--win32]  (default: both)
# A failing target does not stop the others (ninja -k 0); the exit status is then 1.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

JOBS=${TAVREL_JOBS:-2}
BUILD=$ROOT/build
DIST=$ROOT/dist
GENERATED=$BUILD/generated

want_native=1 want_win32=1
if [ $# -gt 0 ]; then
    want_native=0 want_win32=0
    for a in "$@"; do
        case $a in
            --native) want_native=1 ;;
            --win32) want_win32=1 ;;
            *) echo "usage: $0 [--native] [--win32]" >&2; exit 2 ;;
        esac
    done
fi

status=0
log() { printf '[%s] build: %s\n' "$(date +%H:%M:%S)" "$*" >&2; }

configure() { # dir, extra cmake arguments...
    local dir=$1; shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null
    fi
}

if [ $want_native = 1 ]; then
    log "native (build/native)"
    configure "$BUILD/native" -DCMAKE_BUILD_TYPE=Debug
    ninja -C "$BUILD/native" -j"$JOBS" -k 0 || status=1

    # Each generator writes its artwork into the folder it is given.
    mkdir -p "$GENERATED"
    for src in tools/generators/*.cpp; do
        [ -e "$src" ] || continue
        name=$(basename "$src" .cpp)
        if [ ! -x "$BUILD/native/$name" ]; then
            log "generator $name was not built"
            status=1
            continue
        fi
        log "generator $name"
        "$BUILD/native/$name" "$GENERATED" || { log "generator $name failed"; status=1; }
    done
fi

if [ $want_win32 = 1 ]; then
    log "win32 (build/win32)"
    mkdir -p "$GENERATED" "$DIST"
    configure "$BUILD/win32" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
        -DTAVREL_GENERATED_DIR="$GENERATED"
    ninja -C "$BUILD/win32" -j"$JOBS" -k 0 || status=1

    # The clock plays its sounds from its own folder.
    if [ -f "$DIST/PENDRICK.EXE" ]; then
        find "$GENERATED" -maxdepth 1 -iname '*.wav' -exec cp -p {} "$DIST/" \;
    fi

    log "demo CD (dist/cd)"
    python3 tools/layout_cd.py --root "$ROOT" --out "$DIST/cd" || status=1
    log "programs: $(cd "$DIST" && ls -- *.EXE 2>/dev/null | tr '\n' ' ')"
fi
[ $status = 0 ] || log "FAILED (see the errors above)"
exit $status
