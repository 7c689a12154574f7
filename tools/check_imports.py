#!/usr/bin/env python3
"""Fails when a Windows program imports an ANSI (...A) function from a system DLL.

The programs keep Shift-JIS inside and call the wide API at the seam, converting with
code page 932; an ANSI call would convert with the system's code page instead and garble
every Japanese name and text on a non-Japanese Windows. What still calls the ANSI API is
listed in tools/ansi_imports_allowed.txt with the reason; an entry nothing imports any
more is reported too, so the list only shrinks.

Usage: check_imports.py EXE...   (objdump from MinGW, chosen by each file's format)
"""
import os
import re
import subprocess
import sys

CHECKED_DLLS = {"user32.dll", "kernel32.dll", "advapi32.dll", "shell32.dll", "comdlg32.dll", "gdi32.dll",
                "winmm.dll"}
# Names ending in A that are not the ANSI form of anything.
NOT_ANSI = {"GetProcAddress"}
ALLOWED_FILE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ansi_imports_allowed.txt")


def load_allowed(path):
    """{(EXE, Function): reason} from lines 'EXE Function  reason...' (EXE * for every program)."""
    allowed = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            parts = line.split(None, 2)
            if len(parts) < 3:
                sys.exit(f"check_imports: {path}: an entry needs a program, a function and a reason: {line}")
            allowed[(parts[0].upper(), parts[1])] = parts[2]
    return allowed


def objdump_for(exe):
    with open(exe, "rb") as f:
        head = f.read(0x200)
    pe = int.from_bytes(head[0x3C:0x40], "little")
    with open(exe, "rb") as f:
        f.seek(pe + 4)
        machine = int.from_bytes(f.read(2), "little")
    return "x86_64-w64-mingw32-objdump" if machine == 0x8664 else "i686-w64-mingw32-objdump"


def ansi_imports(exe):
    """The (dll, function) pairs exe imports by name from the checked DLLs that end in A."""
    out = subprocess.run([objdump_for(exe), "-p", exe], capture_output=True, text=True, check=True).stdout
    found, dll = [], None
    for line in out.splitlines():
        m = re.match(r"\s*DLL Name:\s*(\S+)", line)
        if m:
            dll = m.group(1).lower()
            continue
        m = re.match(r"\s*[0-9a-fA-F]+\s+\d+\s+(\w+)\s*$", line)
        if m and dll in CHECKED_DLLS:
            name = m.group(1)
            if re.search(r"[A-Za-z0-9]A$", name) and name not in NOT_ANSI:
                found.append((dll, name))
    return found


def main(argv):
    if not argv:
        sys.exit(__doc__)
    allowed = load_allowed(ALLOWED_FILE)
    used, bad = set(), []
    for exe in argv:
        if not os.path.isfile(exe):
            bad.append(f"{exe}: missing")
            continue
        program = os.path.basename(exe).upper()
        for dll, name in ansi_imports(exe):
            for key in ((program, name), ("*", name)):
                if key in allowed:
                    used.add(key)
                    break
            else:
                bad.append(f"{program}: {dll} {name}")
    checked = {os.path.basename(e).upper() for e in argv}
    stale = [f"{p} {n}" for (p, n) in sorted(allowed) if (p in checked or p == "*") and (p, n) not in used]
    for line in bad:
        print(f"check_imports: ANSI import: {line}")
    for line in stale:
        print(f"check_imports: allowed but no longer imported (remove it from the list): {line}")
    still = len(used)
    print(f"check_imports: {len(argv)} programs, {len(bad)} new ANSI imports, {still} still allowed, {len(stale)} stale")
    return 1 if bad or stale else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
