#!/usr/bin/env python3
"""Mirrors the source tree for compilers that cannot turn UTF-8 literals into Shift-JIS.

gcc is given -fexec-charset=CP932; clang has no such option. The mirror keeps every
file as it is except that, inside ordinary string and character literals of C and C++
sources, each non-ASCII character becomes octal escapes of its code page 932 bytes.
Octal (always three digits) and never \\x, because a hex escape swallows every hex
digit that follows it. Comments, wide and UTF-8 literals are left alone. Raw strings
holding non-ASCII text are rewritten as ordinary literals.

Only files whose mirrored content changed are rewritten, so incremental builds stay
incremental. Usage: sjis_mirror.py SOURCE_ROOT MIRROR_ROOT
"""
import os
import subprocess
import sys

SOURCE_SUFFIXES = (".c", ".cc", ".cpp", ".cxx", ".h", ".hh", ".hpp", ".inc", ".ipp")
SKIP_DIRS = {".git", "build", "dist", ".wine", "__pycache__"}


def cp932_bytes(chars):
    """Map each character to its CP932 bytes with iconv, as gcc does."""
    chars = sorted(set(chars))
    if not chars:
        return {}
    text = "\n".join(chars) + "\n"
    out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=text.encode("utf-8"),
                         capture_output=True, check=False)
    if out.returncode != 0:
        bad = []
        for ch in chars:
            one = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=ch.encode("utf-8"),
                                 capture_output=True, check=False)
            if one.returncode != 0:
                bad.append(f"U+{ord(ch):04X}")
        raise ValueError("characters without a code page 932 form: " + ", ".join(bad))
    parts = out.stdout.split(b"\n")
    return dict(zip(chars, parts))


def octal(data: bytes) -> str:
    return "".join(f"\\{b:03o}" for b in data)


def scan_literals(src: str):
    """Yield (start, end, prefix, raw_delim) of every string/char literal in src.

    start..end covers the whole literal including prefix and quotes. raw_delim is None
    for ordinary literals, else the raw-string delimiter.
    """
    i, n = 0, len(src)
    while i < n:
        c = src[i]
        if c == "/" and src.startswith("//", i):
            j = src.find("\n", i)
            i = n if j < 0 else j
            continue
        if c == "/" and src.startswith("/*", i):
            j = src.find("*/", i + 2)
            i = n if j < 0 else j + 2
            continue
        if c.isalpha() or c == "_":
            j = i
            while j < n and (src[j].isalnum() or src[j] == "_"):
                j += 1
            word = src[i:j]
            if j < n and src[j] in "\"'" and word in ("L", "u", "U", "u8", "R", "LR", "uR", "UR", "u8R"):
                if word.endswith("R") and src[j] == '"':
                    k = src.find("(", j)
                    delim = src[j + 1:k]
                    close = src.find(")" + delim + '"', k)
                    end = n if close < 0 else close + len(delim) + 2
                    yield i, end, word[:-1], delim
                    i = end
                    continue
                end = skip_quoted(src, j)
                yield i, end, word, None
                i = end
                continue
            i = j
            continue
        if c.isdigit() or (c == "." and i + 1 < n and src[i + 1].isdigit()):
            # A pp-number, digit separators (1'000) included.
            j = i + 1
            while j < n:
                d = src[j]
                if d in "eEpP" and j + 1 < n and src[j + 1] in "+-":
                    j += 2
                elif d.isalnum() or d in "_.":
                    j += 1
                elif d == "'" and j + 1 < n and src[j + 1].isalnum():
                    j += 1
                else:
                    break
            i = j
            continue
        if c in "\"'":
            end = skip_quoted(src, i)
            yield i, end, "", None
            i = end
            continue
        i += 1


def skip_quoted(src: str, q: int) -> int:
    quote, i, n = src[q], q + 1, len(src)
    while i < n:
        c = src[i]
        if c == "\\":
            i += 2
            continue
        if c == quote or c == "\n":
            return i + 1
        i += 1
    return n


def convert(src: str) -> str:
    pieces, last = [], 0
    literals = [lit for lit in scan_literals(src)
                if lit[2] in ("", None) and any(ord(ch) > 127 for ch in src[lit[0]:lit[1]])]
    if not literals:
        return src
    table = cp932_bytes(ch for s, e, _p, _d in literals for ch in src[s:e] if ord(ch) > 127)
    for start, end, _prefix, delim in literals:
        pieces.append(src[last:start])
        body = src[start:end]
        if delim is not None:
            inner = body[len(delim) + 3:-(len(delim) + 2)]  # R"delim( ... )delim"
            out = ['"']
            for ch in inner:
                if ord(ch) > 127:
                    out.append(octal(table[ch]))
                elif ch in '"\\':
                    out.append("\\" + ch)
                elif ch == "\n":
                    out.append("\\n")
                elif ch == "\t":
                    out.append("\\t")
                else:
                    out.append(ch)
            out.append('"')
            pieces.append("".join(out))
        else:
            pieces.append("".join(octal(table[ch]) if ord(ch) > 127 else ch for ch in body))
        last = end
    pieces.append(src[last:])
    return "".join(pieces)


def write_if_changed(path: str, data: bytes) -> None:
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def mirror(root: str, out: str) -> int:
    root, out = os.path.abspath(root), os.path.abspath(out)
    seen = set()
    failures = 0
    for dirpath, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIP_DIRS and os.path.join(dirpath, d) != out]
        for name in files:
            src = os.path.join(dirpath, name)
            rel = os.path.relpath(src, root)
            dst = os.path.join(out, rel)
            seen.add(rel)
            with open(src, "rb") as f:
                data = f.read()
            if name.endswith(SOURCE_SUFFIXES):
                try:
                    data = convert(data.decode("utf-8")).encode("utf-8")
                except (UnicodeDecodeError, ValueError) as e:
                    print(f"sjis_mirror: {rel}: {e}", file=sys.stderr)
                    failures += 1
                    continue
            write_if_changed(dst, data)
    # Files deleted from the tree leave the mirror too (a stale glob match would build).
    for dirpath, dirs, files in os.walk(out):
        for name in files:
            path = os.path.join(dirpath, name)
            if os.path.relpath(path, out) not in seen:
                os.remove(path)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(mirror(sys.argv[1], sys.argv[2]))
