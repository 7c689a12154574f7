#!/bin/bash
# Builds everything: the native tree (libraries, unit tests, artwork generators), the
# generated artwork, the Windows programs (MinGW-w64 i686) into dist/, and the demo CD
# folder dist/cd/. Usage: tools/build.sh [--native] [--win32]  (default: both)
# On a machine whose kernel cannot run 32-bit programs (see tools/wine_env.sh), --win32
# also builds the same sources for x86_64 into build/win64/ (programs and demo CD in
# build/win64/dist/), which the Wine stages run there instead.
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

# build_windows ARCH BUILD_DIR DIST_DIR: the programs, the test programs and the demo CD.
build_windows() {
    local arch=$1 dir=$2 dist=$3
    log "$arch ($dir, programs in $dist)"
    mkdir -p "$GENERATED" "$dist"
    configure "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" \
        -DTAVREL_GENERATED_DIR="$GENERATED" -DTAVREL_DIST_DIR="$dist"
    ninja -C "$dir" -j"$JOBS" -k 0 || status=1

    # The clock plays its sounds from its own folder.
    find "$GENERATED" -maxdepth 1 -iname '*.wav' -exec cp -p {} "$dist/" \;

    log "demo CD ($dist/cd)"
    python3 tools/layout_cd.py --root "$ROOT" --out "$dist/cd" --dist "$dist" --build "$dir" ||
        status=1
    log "programs: $(cd "$dist" && ls -- *.EXE 2>/dev/null | tr '\n' ' ')"
}

if [ $want_win32 = 1 ]; then
    build_windows i686 "$BUILD/win32" "$DIST"
    bits=$(bash -c 'source tools/wine_env.sh 2>/dev/null; echo "$TAVREL_WINE_BITS"')
    if [ "$bits" = 64 ]; then
        log "this machine cannot run 32-bit programs: building x86_64 too, for the Wine stages"
        build_windows x86_64 "$BUILD/win64" "$BUILD/win64/dist"
    fi
fi
[ $status = 0 ] || log "FAILED (see the errors above)"
exit $status
