"""File faults for real under Wine: a read-only file to delete, a destination drive that
fills up while COPY writes, and a source whose bytes cannot be read."""
import os
import shutil

from harness import PREFIX

ROW3 = "ファイルの削除に失敗しました。"
ROW6 = "ファイルの読み込みに失敗しました。"
ROW9 = "　　容量が足りません。"

# A 2 x 2 grey picture, so the launcher opens after [INIT] without a message of its own.
PICTURE = (b"BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\2\0\0\0\2\0\0\0\1\0\x18\0\0\0\0\0"
           b"\x10\0\0\0\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0" + (b"\x80" * 6 + b"\0\0") * 2)


def _work_folder(h, name):
    """A fresh folder on drive C: of the prefix; (Unix path, Windows path)."""
    unix = os.path.join(PREFIX, "drive_c", "copy-e2e", name)
    shutil.rmtree(unix, ignore_errors=True)
    os.makedirs(unix)
    return unix, "C:\\copy-e2e\\" + name


def _cd(h, script, files=None):
    h.cd(script=script, files=dict(files or {}, **{"SETUP.BMP": PICTURE}))


def _no_more_boxes(h):
    h.check(h.no_msgbox(2000), "another message box followed")


def test_deleting_a_read_only_file_shows_the_note_then_row_3(h):
    unix, win = _work_folder(h, "readonly")
    try:
        target = os.path.join(unix, "RO.DAT")
        with open(target, "wb") as f:
            f.write(b"keep me")
        os.chmod(target, 0o444)  # Wine shows a file without write permission as read-only
        _cd(h, f"[OPTIONS]\n[INIT]\nDELETE {win}\\RO.DAT\nPRINT \"not reached\"\n")
        h.start()
        note = h.msgbox(press="OK")
        h.check_msgbox(note, f"ファイル{win}\\RO.DATは、\n書き込み禁止属性です。", "", icon="none", buttons=["OK"])
        row = h.msgbox(press="OK")
        h.check_msgbox(row, f"{ROW3}\n{win}\\RO.DAT", "", icon="warning", buttons=["OK"])
        _no_more_boxes(h)
        h.check(os.path.exists(target), "the read-only file was deleted")
        h.check(os.stat(target).st_mode & 0o222 == 0, "the file was made writable")
    finally:
        shutil.rmtree(os.path.dirname(unix), ignore_errors=True)


def test_drive_that_fills_while_copying_shows_row_9_alone_and_keeps_no_partial_file(h):
    with h.small_drive("T", "1m") as mount:
        _cd(h, "[OPTIONS]\n[INIT]\nCOPY Q:\\DATA\\SMALL.DAT T:\\\nCOPY Q:\\DATA\\BIG.DAT T:\\\n"
               "PRINT \"not reached\"\n",
            {"DATA/SMALL.DAT": os.urandom(20000), "DATA/BIG.DAT": os.urandom(3 * 1048576)})
        h.start()
        box = h.msgbox(timeout_ms=20000, press="OK")
        h.check_msgbox(box, ROW9, "", icon="warning", buttons=["OK"])
        _no_more_boxes(h)
        h.check_equal(sorted(os.listdir(mount)), ["SMALL.DAT"], "files on the full drive")
        with open(os.path.join(h.cd_dir, "DATA", "SMALL.DAT"), "rb") as a, \
                open(os.path.join(mount, "SMALL.DAT"), "rb") as b:
            h.check(a.read() == b.read(), "the file copied before the full one differs")


def test_source_that_cannot_be_read_shows_row_6_and_keeps_no_partial_file(h):
    # Reading a process's memory file at offset 0 fails with an I/O error on Linux:
    # the file opens, and its first read fails.
    unix, win = _work_folder(h, "unreadable")
    try:
        _cd(h, f"[OPTIONS]\n[INIT]\nCOPY Q:\\DATA\\*.DAT {win}\nPRINT \"not reached\"\n")
        os.makedirs(os.path.join(h.cd_dir, "DATA"))
        os.symlink("/proc/self/mem", os.path.join(h.cd_dir, "DATA", "BAD.DAT"))
        h.start()
        box = h.msgbox(press="OK")
        h.check_msgbox(box, f"{ROW6}\nQ:\\DATA\\BAD.DAT", "", icon="warning", buttons=["OK"])
        _no_more_boxes(h)
        h.check_equal(os.listdir(unix), [], "files left in the destination")
    finally:
        shutil.rmtree(os.path.dirname(unix), ignore_errors=True)
