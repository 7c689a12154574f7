#!/bin/bash
# Cost of the desktop clock. Not a test: prints figures.
#  1. Instructions of one frame composition natively (callgrind), averaged over frames
#     of the analog face with hand lines, the chiming bird, and the digital face.
#  2. CPU time used by PENDRICK.EXE, by the wineserver and by the X server over SECONDS
#     (default 60) under Wine on Xvfb, as a share of one core and in all: once on the
#     analog face with hand lines and once on the digital (24-hour) face, each after the
#     start-up chime has played; then the same prefix with no clock as the floor that Wine
#     itself costs: once with an idle Notepad (its own share printed apart, not summed) and
#     once with no program, only Wine's services; the load average is printed before and
#     after. The X server's share is the whole server's: give the benchmark a display of its
#     own (TAVREL_XVFB_DISPLAY, a bare number, DISPLAY unset) for a clean figure.
#
#   tools/bench_clock.sh [SECONDS]
# Environment: PENDRICK (default dist/PENDRICK.EXE, under 64-bit Wine build/win64/dist/), BENCH_DIR (default /tmp/bench_clock).
# Runs in its own copy of the project's Wine prefix and ends only what it started there.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/wine_env.sh
source "$here/tools/wine_env.sh"
SECONDS_TO_RUN=${1:-60}
# Under 64-bit Wine (a kernel without 32-bit programs) the x86_64 build runs instead.
if [ "${TAVREL_WINE_BITS:-32}" = 64 ]; then
    PENDRICK=${PENDRICK:-$here/build/win64/dist/PENDRICK.EXE}
else
    PENDRICK=${PENDRICK:-$here/dist/PENDRICK.EXE}
fi
BENCH_DIR=${BENCH_DIR:-/tmp/bench_clock}
case "$BENCH_DIR" in /*) ;; *) echo "bench_clock: BENCH_DIR must be absolute" >&2; exit 2 ;; esac
mkdir -p "$BENCH_DIR"

# ---- 1. One composed frame, natively -----------------------------------------------------
driver=$BENCH_DIR/compose_frames
cat > "$BENCH_DIR/compose_frames.cpp" <<'EOF'
// Composes frames from the generated sheet: analog with lines and chime, then digital.
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "clock/clock_state.h"
#include "clock/sheet.h"
using namespace pendrick;
struct Host : ClockHost {
    LocalTime t;
    uint32_t ms = 0;
    LocalTime ReadLocalTime() override { return t; }
    uint32_t Milliseconds() override { return ms; }
    void PlaySoundFile(const char*) override {}
    void DrawHandLine(int, int, int, int, int) override {}
};
int main(int argc, char** argv) {
    FILE* f = std::fopen(argv[1], "rb");
    if (!f) return 1;
    std::vector<uint8_t> file(400000);
    size_t n = std::fread(file.data(), 1, file.size(), f);
    std::fclose(f);
    std::vector<uint8_t> sheet;
    uint8_t table[1024];
    if (n < 14 || !LoadSheet(file.data() + 14, n - 14, &sheet, table)) return 1;
    std::vector<uint8_t> frame(kFrameBytes);
    ClockState c;
    c.sheet = sheet.data();
    c.frame = frame.data();
    Host host;
    host.t.hour = 10; host.t.minute = 8; host.t.second = 30;
    c.now = host.t;
    int frames = argc > 2 ? std::atoi(argv[2]) : 300;
    for (int i = 0; i < frames; ++i) {
        if (i == frames * 2 / 3) c.settings.mode = kModeDigital24;
        host.ms += 20;
        ComposeFrame(c, host);
    }
    std::printf("%d\n", frame[64 * 128 + 64]);
    return 0;
}
EOF
sheet=$BENCH_DIR/pendrick_sheet.bmp
native=$BENCH_DIR/native
if [ ! -f "$native/build.ninja" ]; then
    cmake -S "$here" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
ninja -C "$native" tavrel_clock tavrel_text gen_clock_sheet >/dev/null
"$native/gen_clock_sheet" "$BENCH_DIR"
g++ -O2 -std=c++17 -g -finput-charset=UTF-8 -fexec-charset=CP932 -I"$here" "$BENCH_DIR/compose_frames.cpp" \
    "$native/libtavrel_clock.a" "$native/libtavrel_text.a" -o "$driver"
frames=300
valgrind --tool=callgrind --callgrind-out-file="$BENCH_DIR/callgrind.out" \
    --toggle-collect='pendrick::ComposeFrame*' "$driver" "$sheet" "$frames" >/dev/null 2>"$BENCH_DIR/callgrind.log"
ir=$(callgrind_annotate "$BENCH_DIR/callgrind.out" 2>/dev/null | awk '/PROGRAM TOTALS/ {gsub(",", "", $1); print $1; exit}')
echo "ComposeFrame: $((ir / frames)) instructions per frame (callgrind, $frames frames, analog with chime then digital)"

# ---- 2. The clock under Wine ----------------------------------------------------------------
if [ ! -f "$PENDRICK" ]; then
    echo "bench_clock: $PENDRICK not found; build the Windows programs for the Wine figure" >&2
    exit 0
fi
tavrel_ensure_display
tavrel_make_prefix
prefix=$BENCH_DIR/prefix
if [ ! -f "$prefix/.tavrel-prefix" ]; then
    rm -rf "$prefix"
    cp -a "$WINEPREFIX" "$prefix"
fi
export WINEPREFIX=$prefix
prog=$BENCH_DIR/prog
mkdir -p "$prog"
cp "$PENDRICK" "$prog/PENDRICK.EXE"
cp "$(dirname "$PENDRICK")"/*.wav "$(dirname "$PENDRICK")"/*.WAV "$prog/" 2>/dev/null || true

cpu_ticks() { # utime + stime of one process, in clock ticks
    awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0
}
hz=$(getconf CLK_TCK)
share() { awk -v t="$1" -v hz="$hz" -v s="$SECONDS_TO_RUN" 'BEGIN {printf "%.2f%%", 100 * t / hz / s}'; }

# The stored settings record (little-endian: top-most, hand lines, mode, x, y, alarm hour
# and minute, reserved, alarm on, sound on, memo count): the face to show, the alarm off.
settings_record() {  # $1: 0 analog, 2 digital 24
    printf '00000000''01000000''0%d000000''64000000''64000000''111e0000''00000000''00000000''00000000' "$1"
}
registry_view=/reg:32
if file -b "$PENDRICK" | grep -q 'PE32+'; then registry_view=/reg:64; fi

measure_face() {  # $1: mode, $2: label
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    wine reg add 'HKLM\SOFTWARE\Tavrel\Solvarin' /v Marwenik /t REG_BINARY /d "$(settings_record "$1")" /f \
        "$registry_view" >/dev/null 2>&1
    (cd "$prog" && exec wine PENDRICK.EXE >/dev/null 2>&1) &
    local starter=$!
    # Let start-up and the chime of the first hour pass.
    sleep 25
    local clock_pid="" server_pid="" xvfb_pid p
    for p in $(pgrep -f 'PENDRICK.EXE' || true); do
        if grep -q "$prefix" "/proc/$p/environ" 2>/dev/null; then clock_pid=$p; fi
    done
    for p in $(pgrep wineserver || true); do
        if grep -q "$prefix" "/proc/$p/environ" 2>/dev/null; then server_pid=$p; fi
    done
    xvfb_pid=$(pgrep -f "Xvfb $DISPLAY" | head -1 || true)
    if [ -z "$clock_pid" ]; then
        echo "bench_clock: PENDRICK.EXE did not start" >&2
        wineserver -k 2>/dev/null || true
        return 1
    fi
    local c0 s0 x0 c1 s1 x1
    c0=$(cpu_ticks "$clock_pid"); s0=$(cpu_ticks "${server_pid:-0}"); x0=$(cpu_ticks "${xvfb_pid:-0}")
    sleep "$SECONDS_TO_RUN"
    c1=$(cpu_ticks "$clock_pid"); s1=$(cpu_ticks "${server_pid:-0}"); x1=$(cpu_ticks "${xvfb_pid:-0}")
    wineserver -k 2>/dev/null || true
    wait "$starter" 2>/dev/null || true
    echo "$2 over ${SECONDS_TO_RUN} s under Wine: PENDRICK.EXE $(share $((c1 - c0))), wineserver" \
         "$(share $((s1 - s0))), Xvfb $(share $((x1 - x0))); in all $(share $((c1 - c0 + s1 - s0 + x1 - x0))) of one core"
}

# The floor: the same prefix with no clock, once with an idle Notepad (whose own share is
# shown apart and left out of the sum) and once with no program at all, the wineserver kept
# alive with Wine's services. The wineserver wakes every 16 ms by itself, so it costs about
# the same either way; what the clock costs is what lies above this.
measure_idle() {  # $1: notepad or none
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    local starter=""
    if [ "$1" = notepad ]; then
        wine notepad >/dev/null 2>&1 &
        starter=$!
    else
        wineserver -p
        wine cmd /c exit >/dev/null 2>&1 || true
    fi
    sleep 25
    local server_pid="" notepad_pid="" xvfb_pid p
    for p in $(pgrep wineserver || true); do
        if grep -q "$prefix" "/proc/$p/environ" 2>/dev/null; then server_pid=$p; fi
    done
    for p in $(pgrep -f 'notepad' || true); do
        if grep -q "$prefix" "/proc/$p/environ" 2>/dev/null; then notepad_pid=$p; fi
    done
    xvfb_pid=$(pgrep -f "Xvfb $DISPLAY" | head -1 || true)
    local s0 x0 n0 s1 x1 n1
    s0=$(cpu_ticks "${server_pid:-0}"); x0=$(cpu_ticks "${xvfb_pid:-0}"); n0=$(cpu_ticks "${notepad_pid:-0}")
    sleep "$SECONDS_TO_RUN"
    s1=$(cpu_ticks "${server_pid:-0}"); x1=$(cpu_ticks "${xvfb_pid:-0}"); n1=$(cpu_ticks "${notepad_pid:-0}")
    wineserver -k 2>/dev/null || true
    if [ -n "$starter" ]; then wait "$starter" 2>/dev/null || true; fi
    local what="no program (Wine's services only)" notepad=""
    if [ "$1" = notepad ]; then
        what="an idle Notepad"
        notepad=" (Notepad itself $(share $((n1 - n0))), not counted)"
    fi
    echo "no clock, $what, over ${SECONDS_TO_RUN} s: wineserver $(share $((s1 - s0))), Xvfb $(share $((x1 - x0)));" \
         "in all $(share $((s1 - s0 + x1 - x0))) of one core$notepad"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
measure_face 0 "analog face with hand lines"
measure_face 2 "digital face (24 hours)"
measure_idle notepad
measure_idle none
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
