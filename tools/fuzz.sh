#!/bin/bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UBSan) from a Shift-JIS mirror
# of the tree and runs them.
#   tools/fuzz.sh [SECONDS]   fuzz each target for SECONDS (default 60); new inputs go
#                             to build/fuzz-work/<target>/, the seeds stay untouched
#   tools/fuzz.sh --replay    run each target once over its checked-in corpus only
#   tools/fuzz.sh --build     build only
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

mode=fuzz seconds=60
case ${1:-} in
    --replay) mode=replay ;;
    --build) mode=build ;;
    '') ;;
    *[!0-9]*) echo "usage: $0 [SECONDS | --replay | --build]" >&2; exit 2 ;;
    *) seconds=$1 ;;
esac

shopt -s nullglob
targets=()
for f in tests/fuzz/*.cpp; do targets+=("$(basename "$f" .cpp)"); done
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz: no fuzz targets in tests/fuzz, nothing to do"
    exit 0
fi

MIRROR=$ROOT/build/fuzz-src
BUILD=$ROOT/build/fuzz
ARTIFACTS=$ROOT/build/artifacts/fuzz
python3 tools/sjis_mirror.py "$ROOT" "$MIRROR"
if [ ! -f "$BUILD/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$MIRROR" -B "$BUILD" -G Ninja \
        -DCMAKE_BUILD_TYPE=Debug -DTAVREL_FUZZ=ON >/dev/null
fi
ninja -C "$BUILD" -j"${TAVREL_JOBS:-2}" fuzzers
[ $mode = build ] && exit 0

mkdir -p "$ARTIFACTS"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for t in "${targets[@]}"; do
    seeds=$ROOT/tests/fuzz/corpus/$t
    dict=()
    [ -f "tests/fuzz/$t.dict" ] && dict=(-dict="tests/fuzz/$t.dict")
    if [ $mode = replay ]; then
        if [ ! -d "$seeds" ] || [ -z "$(ls -A "$seeds")" ]; then
            echo "fuzz: $t has no corpus, replay skipped"
            continue
        fi
        count=$(find "$seeds" -type f | wc -l)
        if "$BUILD/$t" -runs=0 -artifact_prefix="$ARTIFACTS/$t-" "$seeds" \
            >"$ARTIFACTS/$t-replay.log" 2>&1; then
            echo "fuzz: $t replayed $count inputs, no failure"
        else
            echo "fuzz: $t FAILED on its corpus (log: $ARTIFACTS/$t-replay.log)"
            tail -n 40 "$ARTIFACTS/$t-replay.log"
            status=1
        fi
    else
        work=$ROOT/build/fuzz-work/$t
        mkdir -p "$work" "$seeds"
        echo "fuzz: $t for $seconds s"
        if ! "$BUILD/$t" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$ARTIFACTS/$t-" "${dict[@]}" "$work" "$seeds"; then
            echo "fuzz: $t FAILED (reproducer in $ARTIFACTS)"
            status=1
        fi
    fi
done
exit $status
