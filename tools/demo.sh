#!/bin/bash
# Sets up, builds and starts the demo CD's OSTREL.EXE under Wine, from drive Q: (a
# CD-ROM drive mapped to dist/cd). With DISPLAY set it runs on that display until the
# program ends; without one (or when it cannot be reached) it runs on Xvfb, saves a
# screenshot and ends the program.
#   tools/demo.sh [--no-build] [--wait SECONDS]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

build=1 wait_s=8
while [ $# -gt 0 ]; do
    case $1 in
        --no-build) build=0 ;;
        --wait) wait_s=$2; shift ;;
        *) echo "usage: $0 [--no-build] [--wait SECONDS]" >&2; exit 2 ;;
    esac
    shift
done

user_display=${DISPLAY:-}
bash tools/setup.sh
[ $build = 1 ] && bash tools/build.sh
# shellcheck source=tools/wine_env.sh
source tools/wine_env.sh
tavrel_ensure_display

if [ ! -f dist/cd/OSTREL.EXE ]; then
    echo "demo: dist/cd/OSTREL.EXE was not built" >&2
    exit 1
fi
tavrel_map_cd "$ROOT/dist/cd"
uiauto=$ROOT/build/win32/UIAUTO.EXE

echo "demo: starting Q:\\OSTREL.EXE on display $DISPLAY"
wine 'Q:\OSTREL.EXE' &
pid=$!

# The user's own display, when it could be reached: run until the program ends.
if [ -n "$user_display" ] && [ "$DISPLAY" = "$user_display" ]; then
    wait $pid || true
    echo "demo: OSTREL.EXE ended"
    exit 0
fi

# Headless: give the launcher time to appear, then photograph the screen.
if [ -f "$uiauto" ]; then
    wine "$uiauto" wait-window --title 'Tavrel ｾｯﾄｱｯﾌﾟ' --timeout $((wait_s * 1000)) >/dev/null 2>&1 ||
        wine "$uiauto" wait-window --class '#32770' --timeout 1000 >/dev/null 2>&1 || true
    sleep 1
else
    sleep "$wait_s"
fi
mkdir -p build/artifacts
shot=$ROOT/build/artifacts/demo.png
import -window root "$shot"
if [ -f "$uiauto" ]; then
    echo "demo: windows on screen:"
    wine "$uiauto" list-windows --visible 2>/dev/null | sed 's/^/  /' || true
fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "demo: screenshot saved to $shot"
