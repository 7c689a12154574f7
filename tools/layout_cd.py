#!/usr/bin/env python3
"""Lays out the demo CD folder from demo/ and the build outputs.

Rules:
- demo/cd/ is copied as it is; every *.INF in it (kept in UTF-8 with LF in the repo)
  becomes Shift-JIS (code page 932) with CR LF, as the programs read it.
- Without demo/cd/, the top-level *.INF and *.BMP files of demo/ are taken.
- demo/cd.manifest names built files to add: one "NAME DEST" per line (DEST relative
  to the CD folder, "." for its top); NAME is looked up in the programs' folder
  (--dist, default dist/), their build folder (--build, default build/win32/) and
  build/generated/. Lines starting with # are comments.
- OSTREL.EXE always goes to the top, and SETUP.BMP from the generated artwork when
  demo/ brings none.
"""
import argparse
import os
import shutil
import subprocess
import sys


def to_sjis_crlf(data: bytes) -> bytes:
    text = data.decode("utf-8").replace("\r\n", "\n").replace("\n", "\r\n")
    # iconv, like the compiler and the resource conversion, so all agree byte for byte.
    out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=text.encode("utf-8"),
                         capture_output=True, check=False)
    if out.returncode != 0:
        raise SystemExit("layout_cd: cannot convert to CP932: " + out.stderr.decode(errors="replace"))
    return out.stdout


def install(src: str, dst: str) -> None:
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    if src.upper().endswith(".INF"):
        with open(src, "rb") as f:
            data = to_sjis_crlf(f.read())
        with open(dst, "wb") as f:
            f.write(data)
    else:
        shutil.copy2(src, dst)


def find_built(folders, name: str):
    for folder in folders:
        path = os.path.join(folder, name)
        if os.path.isfile(path):
            return path
    return None


def main() -> int:
    ap = argparse.ArgumentParser()
    ap.add_argument("--root", required=True)
    ap.add_argument("--out", required=True)
    ap.add_argument("--dist", help="the built programs (default ROOT/dist)")
    ap.add_argument("--build", help="the Windows build folder (default ROOT/build/win32)")
    args = ap.parse_args()
    root, out = args.root, args.out
    dist = args.dist or os.path.join(root, "dist")
    built = (dist, args.build or os.path.join(root, "build", "win32"),
             os.path.join(root, "build", "generated"))
    demo = os.path.join(root, "demo")

    if os.path.isdir(out):
        shutil.rmtree(out)
    os.makedirs(out)

    cd_src = os.path.join(demo, "cd")
    if os.path.isdir(cd_src):
        for dirpath, _dirs, files in os.walk(cd_src):
            for name in files:
                src = os.path.join(dirpath, name)
                install(src, os.path.join(out, os.path.relpath(src, cd_src)))
    elif os.path.isdir(demo):
        for name in sorted(os.listdir(demo)):
            src = os.path.join(demo, name)
            if os.path.isfile(src) and name.upper().endswith((".INF", ".BMP")):
                install(src, os.path.join(out, name))

    missing = False
    manifest = os.path.join(demo, "cd.manifest")
    if os.path.isfile(manifest):
        with open(manifest, encoding="utf-8") as f:
            for raw in f:
                line = raw.strip()
                if not line or line.startswith("#"):
                    continue
                name, dest = (line.split() + ["."])[:2]
                src = find_built(built, name)
                if src is None:
                    print(f"layout_cd: {name} (named in demo/cd.manifest) was not built",
                          file=sys.stderr)
                    missing = True
                    continue
                target = os.path.join(out, dest)
                if dest == "." or dest.endswith("/"):
                    target = os.path.join(target, name)
                install(src, os.path.normpath(target))

    ostrel = os.path.join(dist, "OSTREL.EXE")
    if os.path.isfile(ostrel):
        shutil.copy2(ostrel, os.path.join(out, "OSTREL.EXE"))
    else:
        print(f"layout_cd: {ostrel} was not built", file=sys.stderr)
        missing = True
    has_bmp = any(n.upper() == "SETUP.BMP" for n in os.listdir(out))
    generated_bmp = find_built(built, "SETUP.BMP")
    if not has_bmp and generated_bmp:
        shutil.copy2(generated_bmp, os.path.join(out, "SETUP.BMP"))
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
