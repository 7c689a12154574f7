#!/bin/bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UBSan) from a Shift-JIS mirror
# of the tree and runs them.
#   tools/fuzz.sh [SECONDS]          fuzz each target for SECONDS (default 60); new inputs
#                                    go to build/fuzz-work/<target>/, the seeds stay untouched
#   tools/fuzz.sh TARGET [SECONDS [INPUTS]]
#                                    fuzz one target only, stopping after INPUTS inputs
#                                    if that comes first
#   tools/fuzz.sh --cpu TARGET SECONDS [INPUTS]
#                                    the same, but SECONDS counts the target's own CPU
#                                    time: a long run on a shared machine, or one paused
#                                    with SIGSTOP, still gets its full share of one core
#   tools/fuzz.sh --replay           run each target once over its checked-in corpus only
#   tools/fuzz.sh --merge TARGET     shrink the target's corpus to its named seeds and the
#                                    inputs that reach edges they do not, from its corpus
#                                    and build/fuzz-work/<target> together
#   tools/fuzz.sh --build            build only
# Each fuzzed target ends with a line: inputs run, inputs a second, coverage (edges and
# features), findings.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

usage() { echo "usage: $0 [[--cpu] TARGET] [SECONDS [INPUTS]] | --replay | --merge TARGET | --build" >&2; exit 2; }
mode=fuzz seconds=60 only= inputs=-1 cpu=0
if [ "${1:-}" = --cpu ]; then
    cpu=1
    shift
    [ $# -ge 2 ] || usage
fi
case ${1:-} in
    --replay) mode=replay ;;
    --merge)
        mode=merge only=${2:-}
        [ -n "$only" ] && [ -f "tests/fuzz/$only.cpp" ] || usage ;;
    --build) mode=build ;;
    '') ;;
    *[!0-9]*)
        only=$1
        [ -f "tests/fuzz/$only.cpp" ] || { echo "fuzz: no target $only in tests/fuzz" >&2; usage; }
        case ${2:-} in
            '') ;;
            *[!0-9]*) usage ;;
            *) seconds=$2 ;;
        esac
        case ${3:-} in
            '') ;;
            *[!0-9]*) usage ;;
            *) inputs=$3 ;;
        esac ;;
    *) seconds=$1 ;;
esac

shopt -s nullglob
targets=()
for f in tests/fuzz/*.cpp; do
    t=$(basename "$f" .cpp)
    [ -z "$only" ] || [ "$t" = "$only" ] && targets+=("$t")
done
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
# A smaller quarantine than ASan's 256 MB: freed blocks are still held long enough to
# catch a use after free within one input, and the fuzzer runs twice as fast.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:quarantine_size_mb=16:malloc_context_size=8}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for t in "${targets[@]}"; do
    seeds=$ROOT/tests/fuzz/corpus/$t
    # The rarest features libFuzzer weighs inputs by: by default every feature seen fewer
    # than 256 times is one, and that list is searched for each feature of each input (a
    # third of script_fuzz's time); kept to the hundred rarest the search is cheap and a
    # run reached the same coverage.
    flags=(-entropic_feature_frequency_threshold=0)
    # tests/fuzz/<target>.options: libFuzzer flags for fuzzing, one a line (a
    # dictionary, a shorter longest input for a slow target); later flags win.
    if [ -f "tests/fuzz/$t.options" ]; then
        while read -r flag; do [ -n "$flag" ] && flags+=("$flag"); done <"tests/fuzz/$t.options"
    fi
    if [ $mode = merge ]; then
        work=$ROOT/build/fuzz-work/$t
        merged=$ROOT/build/fuzz-merge/$t
        rm -rf "$merged"
        mkdir -p "$merged" "$work" "$seeds"
        before=$(find "$seeds" "$work" -type f | wc -l)
        # Named inputs (the meaningful seeds, the findings) stay whatever they add; the
        # others (named by their hash) only where they reach something the rest does not.
        find "$seeds" -maxdepth 1 -type f -regextype posix-extended ! -regex '.*/[0-9a-f]{40}' -exec cp {} "$merged"/ \;
        # Edges only, not how often each ran: a small set that still reaches everything.
        "$BUILD/$t" -merge=1 -use_counters=0 -timeout=10 "$merged" "$seeds" "$work" \
            >"$ARTIFACTS/$t-merge.log" 2>&1 || { tail -n 40 "$ARTIFACTS/$t-merge.log"; exit 1; }
        rm -rf "$seeds"
        mv "$merged" "$seeds"
        echo "fuzz: $t corpus merged from $before to $(find "$seeds" -type f | wc -l) inputs"
    elif [ $mode = replay ]; then
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
        log=$ARTIFACTS/$t-fuzz.log
        mkdir -p "$work" "$seeds"
        echo "fuzz: $t for $seconds s$([ $cpu = 1 ] && echo " of its CPU time") (log: $log)"
        failed=0
        if [ $cpu = 0 ]; then
            "$BUILD/$t" -max_total_time="$seconds" -runs="$inputs" -print_final_stats=1 -timeout=10 \
                -artifact_prefix="$ARTIFACTS/$t-" "${flags[@]}" "$work" "$seeds" >"$log" 2>&1 || failed=1
        else
            "$BUILD/$t" -runs="$inputs" -print_final_stats=1 -timeout=10 \
                -artifact_prefix="$ARTIFACTS/$t-" "${flags[@]}" "$work" "$seeds" >"$log" 2>&1 &
            pid=$!
            limit=$((seconds * $(getconf CLK_TCK)))
            # utime + stime of the fuzzer; an interrupt makes libFuzzer print its final
            # stats and leave with 72, which here means "budget spent", not a finding.
            while kill -0 $pid 2>/dev/null; do
                used=$(awk '{print $14 + $15}' /proc/$pid/stat 2>/dev/null || echo 0)
                [ "${used:-0}" -ge $limit ] && { kill -INT $pid; break; }
                sleep 5
            done
            rc=0
            wait $pid || rc=$?
            [ $rc = 0 ] || { [ $rc = 72 ] && grep -q 'run interrupted' "$log"; } || failed=1
        fi
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
        rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
        cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
        ft=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
        echo "fuzz: $t ran ${runs:-?} inputs, ${rate:-?} inputs/s, cov ${cov:-?}, ft ${ft:-?}," \
            "$([ $failed = 0 ] && echo "no finding" || echo "FINDING (reproducer in $ARTIFACTS)")"
        if [ $failed = 1 ]; then
            grep -A 30 -m 1 'ERROR\|runtime error\|deadly signal\|timeout' "$log" || tail -n 40 "$log"
            status=1
        fi
    fi
done
exit $status
