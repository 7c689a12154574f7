#!/bin/bash
# Formats every C++ source of the tree (*.cpp, *.h, *.cc; not build/, dist/ nor the fuzz
# corpora) in place with the repository's .clang-format.
#   tools/format.sh           format in place
#   tools/format.sh --check   change nothing; list the files that differ and fail if any do
# Set CLANG_FORMAT to choose the program; the style was tuned with clang-format 14, and
# another version may lay some lines out differently.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

check=0
case ${1:-} in
    --check) check=1 ;;
    '') ;;
    *) echo "usage: $0 [--check]" >&2; exit 2 ;;
esac

CLANG_FORMAT=${CLANG_FORMAT:-$(command -v clang-format-14 || command -v clang-format || true)}
if [ -z "$CLANG_FORMAT" ]; then
    echo "format: clang-format not found (set CLANG_FORMAT)" >&2
    exit 2
fi

sources() {
    find . \( -path ./build -o -path ./dist -o -path ./.git -o -path ./tests/fuzz/corpus \) -prune -o \
        -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.cc' \) -print0 | sort -z
}

if [ $check = 0 ]; then
    sources | xargs -0 -r "$CLANG_FORMAT" -i --style=file
    exit 0
fi

differ=0
while IFS= read -r -d '' f; do
    if ! "$CLANG_FORMAT" --style=file "$f" | cmp -s - "$f"; then
        echo "${f#./}"
        differ=$((differ + 1))
    fi
done < <(sources)
if [ $differ -gt 0 ]; then
    echo "format: $differ file(s) differ from .clang-format (tools/format.sh formats them)" >&2
    exit 1
fi
