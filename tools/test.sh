#!/bin/bash
# The one test command: sets up, builds, and runs every suite.
#   1 setup      packages, locale, Wine prefix
#   2 build      native tree and artwork; then Windows programs and demo CD
#     imports    the Windows programs import no ANSI (...A) Win32 function beyond an allow list
#   3 unit       native unit tests (simulated Windows), ctest
#   4 sanitize   the same tests built with AddressSanitizer and UBSan, ctest
#   5 wine       the platform suites as PLATFORM_TESTS.EXE under Wine (real Win32 layer),
#                under the Japanese locale and again under C.UTF-8 (code page 1252)
#   6 fuzz       the fuzz targets replaying their corpora
#   7 e2e        the programs driven through their windows under Wine, then the subset of
#                tests/e2e/second_locale.txt again under C.UTF-8 (code page 1252)
# Every stage runs; a missing program, test binary or suite fails its stage. Exit status
# is non-zero when any stage fails.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT" || exit 1
JOBS=${TAVREL_JOBS:-2}
LOGS=$ROOT/build/logs
mkdir -p "$LOGS"

declare -a SUMMARY=()
failed=0

# run_stage NAME TIMEOUT_SECONDS COMMAND...
run_stage() {
    local name=$1 limit=$2; shift 2
    local start end rc verdict
    printf '\n===== %s =====\n' "$name"
    start=$(date +%s)
    timeout --kill-after=10 "$limit" "$@" 2>&1 | tee "$LOGS/$name.log"
    rc=${PIPESTATUS[0]}
    end=$(date +%s)
    if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
        verdict="FAIL (timed out after ${limit}s)"
        failed=1
    elif [ "$rc" != 0 ]; then
        verdict="FAIL (exit $rc)"
        failed=1
    else
        verdict="ok"
    fi
    SUMMARY+=("$(printf '%-12s %5ss  %s' "$name" "$((end - start))" "$verdict")")
    return "$rc"
}

# need FILE...: each must exist, or the stage fails saying which.
need() {
    local f rc=0
    for f in "$@"; do
        [ -e "$f" ] || { echo "test.sh: $f is missing (did its build fail?)"; rc=1; }
    done
    return $rc
}

stage_unit() {
    need build/native/unit_tests || return 1
    ctest --test-dir build/native --output-on-failure -j"$JOBS" --timeout 120
}

stage_sanitize() {
    if [ ! -f build/asan/build.ninja ]; then
        cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVREL_SANITIZE=ON >/dev/null || return 1
    fi
    ninja -C build/asan -j"$JOBS" unit_tests || return 1
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build/asan --output-on-failure -j"$JOBS" --timeout 180
}

# wine_suite EXE: runs the platform suites once in the current prefix and locale.
wine_suite() {
    local exe=$1 work=build/wine-run-$TAVREL_LOCALE
    echo "test.sh: PLATFORM_TESTS.EXE under LC_ALL=$TAVREL_LOCALE (prefix $WINEPREFIX)"
    rm -rf "$work"; mkdir -p "$work"
    cp "$exe" "$work/"
    local limit=${TAVREL_WINE_TEST_LIMIT:-480}
    (cd "$work" && timeout --kill-after=10 "$limit" wine PLATFORM_TESTS.EXE) | tee "$work/output.log"
    local rc=${PIPESTATUS[0]}
    wineserver -k 2>/dev/null
    if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
        echo "PLATFORM_TESTS.EXE timed out after ${limit}s in: $(grep '^\[ RUN      \]' "$work/output.log" | tail -n 1)"
    fi
    return $rc
}

stage_wine() {
    # shellcheck source=tools/wine_env.sh
    source tools/wine_env.sh
    local exe=$TAVREL_WIN_BUILD/PLATFORM_TESTS.EXE
    need "$exe" || return 1
    [ "$TAVREL_WINE_BITS" = 64 ] &&
        echo "test.sh: this machine cannot run 32-bit programs; running the x86_64 build under 64-bit Wine"
    tavrel_ensure_display || return 1
    local rc=0
    wine_suite "$exe" || rc=1
    # Again on a system whose code page is not Japanese (1252), in a prefix of its own.
    (
        export TAVREL_LOCALE=C.UTF-8 TAVREL_WINEPREFIX=$WINEPREFIX-c-utf8
        # shellcheck source=tools/wine_env.sh
        source tools/wine_env.sh
        tavrel_make_prefix && wine_suite "$exe"
    ) || rc=1
    return $rc
}

stage_imports() {
    # The shipped programs and the UI tool call the wide API only (allow list aside).
    python3 tools/check_imports.py dist/OSTREL.EXE dist/BRINMARK.EXE dist/PENDRICK.EXE dist/TAVRELCK.EXE \
        build/win32/UIAUTO.EXE
}

stage_fuzz() {
    bash tools/fuzz.sh --replay
}

stage_e2e() {
    # The whole suite under Japanese, then the listed subset on a Western code page.
    local rc=0
    python3 tests/e2e/run.py || rc=1
    python3 tests/e2e/run.py --second-locale || rc=1
    return $rc
}

# Everything runs from one function, read whole before it starts, so that editing this
# file during a run cannot change the run.
main() {
    total_start=$(date +%s)
    if ! run_stage setup 1800 bash tools/setup.sh; then
        echo "test.sh: setup failed, stopping"
        exit 1
    fi
    # A failed build fails the run, and the suites still run on what did build, so one
    # broken program does not hide the results of the others.
    run_stage build-native 1800 bash tools/build.sh --native
    run_stage build-win32 1800 bash tools/build.sh --win32
    export -f need wine_suite stage_imports stage_unit stage_sanitize stage_wine stage_fuzz stage_e2e
    export JOBS
    run_stage imports 120 bash -c stage_imports
    run_stage unit 900 bash -c stage_unit
    run_stage sanitize 1500 bash -c stage_sanitize
    run_stage wine 900 bash -c stage_wine
    run_stage fuzz 900 bash -c stage_fuzz
    run_stage e2e 1200 bash -c stage_e2e

    total=$(( $(date +%s) - total_start ))
    printf '\n===== summary =====\n'
    printf '%s\n' "${SUMMARY[@]}"
    if [ $failed = 0 ]; then
        echo "test.sh: all stages passed in ${total}s"
        exit 0
    fi
    echo "test.sh: FAILED after ${total}s (logs in build/logs/)"
    exit 1
}

main "$@"
exit $?
