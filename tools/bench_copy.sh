#!/bin/bash
# Copy throughput of the installer's COPY command under Wine against cp -r, on one tree
# of about 210 MB (files from 1 KB to 50 MB in four folders). Not a test: prints the two
# throughputs and their ratio.
#
#   tools/bench_copy.sh            uses dist/OSTREL.EXE and a prefix below $BENCH_DIR
# Environment: OSTREL (the program), BENCH_DIR (work folder, default /tmp/bench_copy),
# KEEP=1 keeps the copies. Runs in its own copy of the project's Wine prefix.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/wine_env.sh
source "$here/tools/wine_env.sh"
OSTREL=${OSTREL:-$here/dist/OSTREL.EXE}
BENCH_DIR=${BENCH_DIR:-/tmp/bench_copy}

if [ ! -f "$OSTREL" ]; then
    echo "bench_copy: $OSTREL not found; build the Windows programs first" >&2
    exit 2
fi
case "$BENCH_DIR" in /*) ;; *) echo "bench_copy: BENCH_DIR must be absolute" >&2; exit 2 ;; esac

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

# ---- The program folder: OSTREL.EXE, a picture and a script per run --------------------
prog=$BENCH_DIR/prog
mkdir -p "$prog"
cp "$OSTREL" "$prog/OSTREL.EXE"
# A 2 x 2 24-bit picture, so the launcher opens without a message.
printf 'BM\x46\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x10\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\x80\x80\x80\x80\x80\x00\x00\x80\x80\x80\x80\x80\x80\x00\x00' > "$prog/SETUP.BMP"

winpath() { echo "Z:${1//\//\\}"; }

write_script() {  # $1: 1 to copy the tree, 0 for the start-up baseline
    local dst; dst=$(winpath "$BENCH_DIR/dst_wine")
    {
        printf '[OPTIONS]\r\nTitle=Bench\r\nClass=BenchNoSuchClass\r\n[INIT]\r\n'
        if [ "$1" = 1 ]; then
            printf 'MKDIR "%s"\r\n' "$dst"
            for d in big mid small tiny; do
                printf 'MKDIR "%s\\%s"\r\n' "$dst" "$d"
                printf 'COPY "%s\\%s\\*.DAT" "%s\\%s"\r\n' "$(winpath "$src")" "$d" "$dst" "$d"
            done
        fi
        printf 'QUIT\r\n'
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
wineserver -p 60 2>/dev/null || true  # one server for all runs: start-up is measured alone

now() { date +%s.%N; }
run_ostrel() {
    local t0 t1
    t0=$(now)
    (cd "$prog" && timeout 600 wine OSTREL.EXE >/dev/null 2>&1) || true
    t1=$(now)
    echo "$t1 - $t0" | bc -l
}

cat "$src"/*/*.DAT > /dev/null  # the same warm cache for both copiers

write_script 0
run_ostrel > /dev/null  # first start loads Wine's own files
base=$(run_ostrel)

rm -rf "$BENCH_DIR/dst_wine"; sync
write_script 1
total=$(run_ostrel)
sync
wine_s=$(echo "$total - $base" | bc -l)

if ! diff -r -x .complete "$src" "$BENCH_DIR/dst_wine" >/dev/null; then
    echo "bench_copy: the copy made by OSTREL.EXE differs from the source" >&2
    exit 1
fi

rm -rf "$BENCH_DIR/dst_cp"; sync
t0=$(now)
cp -r "$src" "$BENCH_DIR/dst_cp"
t1=$(now)
sync
cp_s=$(echo "$t1 - $t0" | bc -l)

mb=$(echo "$bytes / 1048576" | bc -l)
printf 'tree: %d files, %.1f MB\n' "$files" "$mb"
printf 'OSTREL.EXE COPY under Wine: %.2f s (start-up of %.2f s taken off), %.1f MB/s\n' \
    "$wine_s" "$base" "$(echo "$mb / $wine_s" | bc -l)"
printf 'cp -r:                      %.2f s, %.1f MB/s\n' "$cp_s" "$(echo "$mb / $cp_s" | bc -l)"
printf 'ratio (COPY / cp -r throughput): %.2f\n' "$(echo "$cp_s / $wine_s" | bc -l)"

if [ "${KEEP:-0}" != 1 ]; then rm -rf "$BENCH_DIR/dst_wine" "$BENCH_DIR/dst_cp"; fi
