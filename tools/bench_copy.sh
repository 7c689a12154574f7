#!/bin/bash
# Copy throughput of the installer's COPY command under Wine, side by side with a minimal
# Win32 copier (tools/bench/copy_yardstick.cpp: 1 MiB ReadFile/WriteFile blocks and the
# file times, nothing else) on one tree of about 210 MB (files from 1 KB to 50 MB in four
# folders), read once before timing. Not a test: prints figures.
#   yardstick            the minimal copier
#   COPY at start-up     OSTREL.EXE running COPY in its [INIT] section
#   COPY in an install   a full install of the tree through the dialogs (Setup, OK, the
#                        destination, OK, OK): the stepped copy with the progress display
#   display standing     the same install with a copy total so large that the percentage
#                        stays 0: the display is never redrawn. The difference between the
#                        two installs is the share of drawing the progress in the copy time.
#   cp -r                for information only (it copies inside the kernel)
# Runs alternate between the copiers; each figure is the median of RUNS runs. Every copy's
# duration is the time between two marker files the program writes just before and just
# after it, so the programs' start-up is not counted. Then, during the install of a 1 GB
# file, tools/bench/key_probe.cpp measures how quickly the dialog answers and how long the
# Enter key takes to bring up the question whether to stop (five times). The load average
# is printed with the figures: on a busy machine every figure is slower.
#
#   tools/bench_copy.sh [RUNS]     (default 5)
# Environment: OSTREL (default dist/OSTREL.EXE, under 64-bit Wine build/win64/dist/), UIAUTO
# (default build/win32/UIAUTO.EXE, under 64-bit Wine build/win64/;
# without it the install figures are left out), BENCH_DIR (work folder without spaces,
# default /dev/shm/bench_copy when /dev/shm has 4 GB free, else /tmp/bench_copy), BENCH_CXX (the MinGW compiler for the two helpers; by default
# the one matching OSTREL.EXE's machine), BENCH_PROBE=0 leaves out the 1 GB install and its
# probe, KEEP=1 keeps the copies. Runs in its own copy of
# the project's Wine prefix and ends only the wineserver of that copy.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/wine_env.sh
source "$here/tools/wine_env.sh"
RUNS=${1:-5}
# Under 64-bit Wine (a kernel without 32-bit programs) the x86_64 build runs instead.
win_build=$here/build/win32 win_dist=$here/dist
if [ "${TAVREL_WINE_BITS:-32}" = 64 ]; then win_build=$here/build/win64 win_dist=$here/build/win64/dist; fi
OSTREL=${OSTREL:-$win_dist/OSTREL.EXE}
UIAUTO=${UIAUTO:-$win_build/UIAUTO.EXE}
# On a memory file system when there is room: writing back to a disk makes every copier's
# figure swing, and what is measured here is the programs' own cost per block and per file.
if [ -z "${BENCH_DIR:-}" ]; then
    BENCH_DIR=/tmp/bench_copy
    shm_free_kb=$(df -Pk /dev/shm 2>/dev/null | awk 'NR == 2 {print $4}')
    [ -w /dev/shm ] && [ "${shm_free_kb:-0}" -gt $((4 * 1048576)) ] && BENCH_DIR=/dev/shm/bench_copy
fi

if [ ! -f "$OSTREL" ]; then
    echo "bench_copy: $OSTREL not found; build the Windows programs first" >&2
    exit 2
fi
case "$BENCH_DIR" in
    *' '*) echo "bench_copy: BENCH_DIR must not contain spaces" >&2; exit 2 ;;
    /*) ;;
    *) echo "bench_copy: BENCH_DIR must be absolute" >&2; exit 2 ;;
esac
case "$RUNS" in ''|*[!0-9]*) echo "bench_copy: RUNS must be a number" >&2; exit 2 ;; esac

# ---- The tree: 4 x big, 10 x 5 MB, 200 small, 300 tiny files ---------------------------
src=$BENCH_DIR/src
if [ ! -f "$src/.complete" ]; then
    rm -rf "$src"
    mkdir -p "$src/big" "$src/mid" "$src/small" "$src/tiny"
    for mb in 50 40 30 20; do head -c $((mb * 1048576)) /dev/urandom > "$src/big/B$mb.DAT"; done
    for i in $(seq 1 10); do head -c $((5 * 1048576)) /dev/urandom > "$src/mid/M$i.DAT"; done
    for i in $(seq 1 200); do head -c $((i * 512 + 1024)) /dev/urandom > "$src/small/S$i.DAT"; done
    for i in $(seq 1 300); do head -c $((1024 + (i % 8) * 1024)) /dev/urandom > "$src/tiny/T$i.DAT"; done
    touch "$src/.complete"
fi
bytes=$(find "$src" -type f -name '*.DAT' -printf '%s\n' | awk '{s += $1} END {print s}')
files=$(find "$src" -type f -name '*.DAT' | wc -l)
folders="big mid small tiny"

# ---- The helpers, built for OSTREL.EXE's machine -----------------------------------------
tools=$BENCH_DIR/tools
mkdir -p "$tools"
if [ -z "${BENCH_CXX:-}" ]; then
    if file -b "$OSTREL" | grep -q 'PE32+'; then BENCH_CXX=x86_64-w64-mingw32-g++; else BENCH_CXX=i686-w64-mingw32-g++; fi
fi
"$BENCH_CXX" -O2 -static -s "$here/tools/bench/copy_yardstick.cpp" -o "$tools/COPYTREE.EXE"
"$BENCH_CXX" -O2 -static -s "$here/tools/bench/key_probe.cpp" -o "$tools/KEYPROBE.EXE"
"$BENCH_CXX" -O2 -static -s -mwindows "$here/tools/bench/start_click.cpp" -o "$tools/STARTCLICK.EXE"

# ---- The program folder: OSTREL.EXE, a picture and a script per run --------------------
prog=$BENCH_DIR/prog
mkdir -p "$prog"
cp "$OSTREL" "$prog/OSTREL.EXE"
# A 320 x 240 24-bit grey picture, so the launcher opens without a message and its buttons
# have a size (a posted click on a button of no size is lost).
python3 - "$prog/SETUP.BMP" <<'PY'
import struct, sys
w, h = 320, 240
data = bytes([128]) * (w * 3 * h)
header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
open(sys.argv[1], "wb").write(header + info + data)
PY

winpath() { echo "Z:${1//\//\\}"; }
marks=$BENCH_DIR/marks
mkdir -p "$marks"

mark_lines() {  # $1: the mark's name; the script lines that write it
    printf 'CREATE "%s"\r\nCLOSE\r\n' "$(winpath "$marks/$1.mark")"
}

# The copy at start-up: [INIT] copies the tree and quits.
write_section_script() {
    local dst; dst=$(winpath "$BENCH_DIR/dst_section")
    {
        printf '[OPTIONS]\r\nTitle=Bench\r\nClass=BenchNoSuchClass\r\n[INIT]\r\n'
        mark_lines section_start
        printf 'MKDIR "%s"\r\n' "$dst"
        for d in $folders; do
            printf 'MKDIR "%s\\%s"\r\n' "$dst" "$d"
            printf 'COPY "%s\\%s\\*.DAT" "%s\\%s"\r\n' "$(winpath "$src")" "$d" "$dst" "$d"
        done
        mark_lines section_end
        printf 'QUIT\r\n'
    } > "$prog/TAVREL.INF"
}

# The install: $1 the source folders' parent, $2 its folders, $3 the bytes to copy; with
# $4 = still, a copy total of 2000 GB and an install size of 1 K, so the percentage stays 0.
write_install_script() {
    local kb=$(($3 / 1024 + 1)) d
    [ "${4:-}" = still ] && kb=2000000000
    {
        printf '[OPTIONS]\r\nTitle=Bench\r\nClass=BenchNoSuchClass\r\nDstDir=BENCHINS\r\nCopySize=%d\r\n' "$kb"
        [ "${4:-}" = still ] && printf 'InstSize=1\r\n'
        printf 'SetupText=Setup\r\nExitText=Exit\r\nBtnWidth=22\r\nBtnHeight=9\r\nSetupBtnX=28\r\nSetupBtnY=75\r\nExitBtnX=28\r\nExitBtnY=87\r\n'
        printf '[INIT]\r\n[INIT_INST]\r\n[COPY]\r\n'
        for d in $2; do printf 'MKDIR %%DstDrv%%%%DstDir%%%s\r\n' "$d"; done
        printf '[INSTALL]\r\n'
        mark_lines install_start
        for d in $2; do printf 'COPY %s\\%s\\*.DAT,%%DstDrv%%%%DstDir%%%s\r\n' "$(winpath "$1")" "$d" "$d"; done
        mark_lines install_end
        printf '[WIN_SCRIPT]\r\n[EXIT_INST]\r\n'
    } > "$prog/TAVREL.INF"
}

tavrel_ensure_display
tavrel_make_prefix
# A copy of the project's prefix, made without stopping the wineserver others may use.
if [ ! -f "$BENCH_DIR/prefix/.tavrel-prefix" ]; then
    rm -rf "$BENCH_DIR/prefix"
    cp -a "$WINEPREFIX" "$BENCH_DIR/prefix"
fi
export WINEPREFIX=$BENCH_DIR/prefix
tavrel_map_cd "$WINEPREFIX/cdrom"
trap 'wineserver -k 2>/dev/null || true' EXIT
wineserver -p 60 2>/dev/null || true  # one server for all runs

now() { date +%s.%N; }
mark_time() { stat -c %.9Y "$marks/$1.mark"; }
# Seconds between the start and end marks of $1; empty when a mark is missing.
mark_span() {
    [ -f "$marks/$1_start.mark" ] && [ -f "$marks/$1_end.mark" ] || return 0
    echo "$(mark_time "$1_end") - $(mark_time "$1_start")" | bc -l
}
clear_marks() { rm -f "$marks/$1_start.mark" "$marks/$1_end.mark"; }
median() { sort -g | awk '{v[NR] = $1} END {if (NR == 0) print ""; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
best() { sort -g | head -n 1; }
ui() { wine "$UIAUTO" "$@" 2>/dev/null | tr -d '\r'; }

LAUNCHER="Tavrel ｾｯﾄｱｯﾌﾟ"
INSTALL_TITLE="Bench  インストール  ユーティリティ"
SETUP=1000 EXIT=1001 OK=1 STOP=2 PATH_BOX=1011 LINE2=1006 LINE3=1007

wait_text() {  # $1 control, $2 wanted text, $3 seconds
    local end=$((SECONDS + $3))
    while [ $SECONDS -lt $end ]; do
        [ "$(ui text --title "$INSTALL_TITLE" --id "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    echo "bench_copy: control $1 never showed \"$2\"" >&2
    return 1
}

# The installer's own steps from the launcher to the confirmation screen; $1 the typed
# folder (in capitals: the installer writes single-byte letters so).
to_confirmation() {
    rm -rf "$1"
    forget_installs  # no earlier folder offered
    (cd "$prog" && exec timeout 900 wine OSTREL.EXE >/dev/null 2>&1) &
    install_pid=$!
    ui wait-window --title "$LAUNCHER" --timeout 30000 >/dev/null
    ui click --title "$LAUNCHER" --id $SETUP >/dev/null
    ui wait-window --title "$INSTALL_TITLE" --timeout 20000 >/dev/null
    sleep 0.3
    ui click --title "$INSTALL_TITLE" --id $OK >/dev/null
    wait_text $LINE2 "「TAVREL」フォルダを作成します。" 20
    ui set-text --title "$INSTALL_TITLE" --id $PATH_BOX --text "$(winpath "$1")" >/dev/null
    ui click --title "$INSTALL_TITLE" --id $OK >/dev/null
    wait_text $LINE3 "インストールを開始します。" 20
}

start_copy() { ui click --title "$INSTALL_TITLE" --id $OK >/dev/null; }

finish_install() {  # waits for the completion screen, ends it and closes the launcher
    wait_text $STOP "終了" 600
    ui click --title "$INSTALL_TITLE" --id $STOP >/dev/null
    ui wait-gone --title "$INSTALL_TITLE" --timeout 20000 >/dev/null || true
    ui click --title "$LAUNCHER" --id $EXIT >/dev/null || true
    local _
    for _ in $(seq 1 100); do
        kill -0 "$install_pid" 2>/dev/null || break
        sleep 0.2
    done
    kill "$install_pid" 2>/dev/null || true  # ours: the timeout that runs this OSTREL.EXE
    wait "$install_pid" 2>/dev/null || true
}

run_yardstick() {
    rm -rf "$BENCH_DIR/dst_yardstick"; clear_marks yardstick
    wine "$tools/COPYTREE.EXE" "$(winpath "$src")" "$(winpath "$BENCH_DIR/dst_yardstick")" \
        "$(winpath "$marks/yardstick_start.mark")" "$(winpath "$marks/yardstick_end.mark")" >/dev/null 2>&1 || true
    mark_span yardstick
}

# An install leaves its folder in the registry; without the folder the next start-up
# would stop at a warning.
forget_installs() { wine reg delete 'HKCU\Software\Tavrel' /f >/dev/null 2>&1 || true; }

run_section() {
    rm -rf "$BENCH_DIR/dst_section"; clear_marks section
    forget_installs
    write_section_script
    (cd "$prog" && timeout 600 wine OSTREL.EXE >/dev/null 2>&1) || true
    mark_span section
}

run_install() {  # $1: empty, or still (the display never redrawn)
    clear_marks install
    write_install_script "$src" "$folders" "$bytes" "${1:-}"
    to_confirmation "$BENCH_DIR/INST"
    # The click comes from a program started before it, which then waits for the end mark;
    # asking the dialog meanwhile, or a UI automation program starting and ending for the
    # click, would run Wine processes beside the copy being timed.
    wine "$tools/STARTCLICK.EXE" "Bench  " "$(winpath "$marks/install_end.mark")" 600 >/dev/null 2>&1 || true
    finish_install
    mark_span install
}

check_copy() {  # $1 what, $2 the copy's folder
    if ! diff -r -x .complete -x '*.mark' "$src" "$2" >/dev/null; then
        echo "bench_copy: the copy made by $1 differs from the source ($2)" >&2
        exit 1
    fi
}

cat "$src"/*/*.DAT > /dev/null  # the same warm cache for every copier
wine "$tools/COPYTREE.EXE" >/dev/null 2>&1 || true  # first start loads Wine's own files

with_install=1
if [ ! -f "$UIAUTO" ]; then
    with_install=0
    echo "bench_copy: $UIAUTO not found; the install figures are left out" >&2
fi
: > "$BENCH_DIR/yardstick.times"; : > "$BENCH_DIR/section.times"; : > "$BENCH_DIR/install.times"
: > "$BENCH_DIR/still.times"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for run in $(seq 1 "$RUNS"); do
    run_yardstick >> "$BENCH_DIR/yardstick.times"
    run_section >> "$BENCH_DIR/section.times"
    if [ "$with_install" = 1 ]; then
        run_install >> "$BENCH_DIR/install.times"
        [ "$run" = 1 ] && check_copy "COPY in an install" "$BENCH_DIR/INST/TAVREL/BENCHINS"
        run_install still >> "$BENCH_DIR/still.times"
    fi
    if [ "$run" = 1 ]; then
        check_copy "the yardstick" "$BENCH_DIR/dst_yardstick"
        check_copy "COPY at start-up" "$BENCH_DIR/dst_section"
    fi
done

rm -rf "$BENCH_DIR/dst_cp"; sync
t0=$(now)
cp -r "$src" "$BENCH_DIR/dst_cp"
t1=$(now)
cp_s=$(echo "$t1 - $t0" | bc -l)

mb=$(echo "$bytes / 1048576" | bc -l)
yard_s=$(median < "$BENCH_DIR/yardstick.times")
yard_best=$(best < "$BENCH_DIR/yardstick.times")
# $1 label, $2 seconds (the median), $3 1 to give the ratio to the yardstick, $4 the times
# file: the fastest runs' ratio too, the one least disturbed by whatever else the machine ran.
report() {
    if [ -z "$2" ]; then
        printf '%-24s no figure (a run failed)\n' "$1:"
        return
    fi
    printf '%-24s %.3f s, %7.1f MB/s' "$1:" "$2" "$(echo "$mb / $2" | bc -l)"
    [ "$3" = 1 ] && printf ', %.2f of the yardstick' "$(echo "$yard_s / $2" | bc -l)"
    [ "$3" = 1 ] && [ -n "${4:-}" ] && printf ' (fastest runs: %.2f)' "$(echo "$yard_best / $(best < "$4")" | bc -l)"
    printf '\n'
}
printf 'tree: %d files, %.1f MB; median of %d alternated runs, start-up not counted\n' "$files" "$mb" "$RUNS"
printf 'load average: %s before the runs, %s after\n' "$load_before" "$(cut -d' ' -f1-3 /proc/loadavg)"
report "yardstick (1 MiB)" "$yard_s" 0
report "COPY at start-up" "$(median < "$BENCH_DIR/section.times")" 1 "$BENCH_DIR/section.times"
if [ "$with_install" = 1 ]; then
    install_s=$(median < "$BENCH_DIR/install.times")
    still_s=$(median < "$BENCH_DIR/still.times")
    report "COPY in an install" "$install_s" 1 "$BENCH_DIR/install.times"
    report "  display standing" "$still_s" 1 "$BENCH_DIR/still.times"
    if [ -n "$install_s" ] && [ -n "$still_s" ]; then
        install_best=$(best < "$BENCH_DIR/install.times") still_best=$(best < "$BENCH_DIR/still.times")
        printf '%-24s %.1f%% of the install'"'"'s copy time (%.3f s; fastest runs: %.1f%%; a negative figure is noise)\n' \
            "progress drawing:" "$(echo "100 * ($install_s - $still_s) / $install_s" | bc -l)" \
            "$(echo "$install_s - $still_s" | bc -l)" \
            "$(echo "100 * ($install_best - $still_best) / $install_best" | bc -l)"
    fi
fi
report "cp -r (information)" "$cp_s" 0
for f in yardstick section install still; do
    [ -s "$BENCH_DIR/$f.times" ] && printf '  %-10s runs: %s\n' "$f" "$(tr '\n' ' ' < "$BENCH_DIR/$f.times")"
done

# ---- The dialog during the install of a 1 GB file ----------------------------------------
if [ "$with_install" = 1 ] && [ "${BENCH_PROBE:-1}" = 1 ]; then
    one=$BENCH_DIR/onegig
    mkdir -p "$one/data"
    [ -f "$one/data/G1.DAT" ] || head -c $((1024 * 1048576)) /dev/urandom > "$one/data/G1.DAT"
    cat "$one/data/G1.DAT" > /dev/null
    write_install_script "$one" "data" $((1024 * 1048576))
    to_confirmation "$BENCH_DIR/INST1G"
    # The probe starts first and waits for the progress display, so that it meets the copy.
    wine "$tools/KEYPROBE.EXE" "Bench  " 150 > "$BENCH_DIR/probe.out" 2>/dev/null &
    probe_pid=$!
    sleep 2
    start_copy
    wait "$probe_pid" || true
    finish_install
    probe=$(tr -d '\r' < "$BENCH_DIR/probe.out")
    echo "${probe:-key probe: no output}"
    if [ "$(stat -c %s "$BENCH_DIR/INST1G/TAVREL/BENCHINS/data/G1.DAT" 2>/dev/null || echo 0)" != $((1024 * 1048576)) ]; then
        echo "bench_copy: the 1 GB file was not copied whole" >&2
    fi
fi

if [ "${KEEP:-0}" != 1 ]; then
    rm -rf "$BENCH_DIR/dst_yardstick" "$BENCH_DIR/dst_section" "$BENCH_DIR/INST" "$BENCH_DIR/INST1G" "$BENCH_DIR/dst_cp"
fi
