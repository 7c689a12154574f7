"""PENDRICK.EXE under Wine: start-up, faces and outline, menus, settings, alarm, kitchen
timer and quick memos. The clock's menus are reached with posted clicks and arrow keys
(their items live inside the clock's process); CLOCKPOKE.EXE posts the messages and reads
regions and rectangles."""
import json
import os
import subprocess
import time

import harness
from harness import DIST, ROOT, WORK, WINE_BITS, CheckFailed, run_captured, wait_until

KEY = r"HKLM\SOFTWARE\Tavrel\Solvarin"
POKE_SOURCE = os.path.join(ROOT, "tests", "e2e", "clock_poke.cpp")
POKE = os.path.join(WORK, "CLOCKPOKE.EXE")
SOUNDS = ("alarm.wav", "MUSIC1.WAV", "MUSIC2.WAV", "MUSIC3.WAV")

WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDOWN = 0x204, 0x205, 0x201
WM_SYSCOMMAND, SC_MINIMIZE, WM_ENDSESSION, WM_USER, WM_CHAR = 0x112, 0xF020, 0x16, 0x400, 0x102
VK_DOWN, VK_RETURN = 0x28, 0x0D

# Clock menu positions (arrow presses from an unselected menu).
ALARM, KITCHEN_TIMER, TOP_MOST, ANALOG, HAND, DIGITAL12, DIGITAL24, QUICK_MEMO, QUIT = range(1, 10)


def clock_test(fn):
    fn.program = "PENDRICK.EXE"
    fn.timeout = 150
    return fn


def poke_tool():
    """Builds CLOCKPOKE.EXE with MinGW when it is missing or older than its source."""
    if os.path.isfile(POKE) and os.path.getmtime(POKE) >= os.path.getmtime(POKE_SOURCE):
        return POKE
    os.makedirs(WORK, exist_ok=True)
    compiler = "x86_64-w64-mingw32-g++" if WINE_BITS == 64 else "i686-w64-mingw32-g++"
    out = subprocess.run([compiler, "-O1", "-static", "-o", POKE, POKE_SOURCE,
                          "-lgdi32", "-luser32", "-lshell32"], capture_output=True, text=True)
    if out.returncode != 0:
        last = (out.stderr.strip().splitlines() or ["no message"])[-1]
        raise CheckFailed(f"cannot build CLOCKPOKE.EXE: {last}")
    return POKE


class Clock:
    """One scratch CD with the clock and its sounds, and helpers to drive it."""

    def __init__(self, h):
        self.h = h
        self.poke_exe = poke_tool()
        files = {}
        for name in SOUNDS:
            path = os.path.join(DIST, name)
            if os.path.isfile(path):
                files[name] = open(path, "rb").read()
        h.cd(exe="PENDRICK.EXE", files=files)

    def start(self, wait=True):
        program = self.h.start("PENDRICK.EXE")
        if wait:
            self.h.check(self.h.wait_window(cls="PENDRICK", timeout_ms=15000) is not None,
                         "the clock window did not appear")
            time.sleep(0.5)
        return program

    def poke(self, *args):
        code, out = run_captured(["wine", self.poke_exe, *[str(a) for a in args]], self.h.env, 60)
        return code, out.decode("utf-8", errors="replace")

    def poke_json(self, *args):
        code, out = self.poke(*args)
        lines = [json.loads(line) for line in out.splitlines() if line.strip().startswith("{")]
        return lines

    def region(self):
        found = self.poke_json("region", "PENDRICK")
        return found[0] if found else None

    def rect(self, target="PENDRICK"):
        found = self.poke_json("rect", target)
        return found[0] if found else None

    def memos(self):
        return self.poke_json("list", "QUICKMEMO")

    def clocks(self):
        return self.poke_json("list", "PENDRICK")

    def menu(self, item, target="PENDRICK", message=WM_RBUTTONDOWN, lparam=0x00400040):
        """Opens a popup menu with a posted click and chooses the item-th entry."""
        self.poke("post", target, message, 2 if message == WM_RBUTTONDOWN else 0, lparam)
        time.sleep(0.8)
        self.poke("keys", target, *([VK_DOWN] * item), VK_RETURN)
        time.sleep(0.8)

    def tray_menu(self, item):
        self.menu(item, message=WM_USER, lparam=WM_LBUTTONDOWN)

    def move(self, target, x, y):
        self.poke("move", target, x, y)
        time.sleep(0.3)

    def settings(self):
        """The stored settings record as bytes, or None."""
        return self.binary("Marwenik")

    def binary(self, name):
        """A binary value of the clock's key as bytes, or None."""
        text = self.h.reg_query(KEY, name)
        if not text:
            return None
        for line in text.splitlines():
            parts = line.split()
            if len(parts) >= 3 and parts[0] == name and parts[1] == "REG_BINARY":
                return bytes.fromhex(parts[2])
        return None

    def write_settings(self, record):
        self.reg_add("Marwenik", record)

    def reg_add(self, name, data):
        run_captured(["wine", "reg", "add", KEY, "/v", name, "/t", "REG_BINARY", "/d", data.hex(),
                      "/f", f"/reg:{harness.PROGRAM_VIEW}"], self.h.env, 60)

    def quit(self, program):
        self.menu(QUIT)
        self.h.check(program.wait(20) is not None, "the clock did not end after Quit")


def settings_record(top_most=0, hand=1, mode=0, x=0, y=0, hour=17, minute=30, alarm=1, sound=1, memos=0):
    le = lambda v: (v & 0xFFFFFFFF).to_bytes(4, "little")  # noqa: E731
    return (le(top_most) + le(hand) + le(mode) + le(x) + le(y) + bytes([hour, minute, 0, 0]) + le(alarm)
            + le(sound) + le(memos))


def field(record, offset):
    return int.from_bytes(record[offset:offset + 4], "little", signed=True)


def memo_values(h):
    text = h.reg_query(KEY) or ""
    return sorted(line.split()[0] for line in text.splitlines() if line.strip().startswith("DURUVO_MEMO"))


def chime_wait_seconds():
    """Seconds until the start-up chime of this hour has surely ended."""
    return {0: 7, 1: 18, 2: 20}[time.localtime().tm_hour % 3] + 2


# ---- The clock window (start-up, faces, outline, settings) -------------------------------

@clock_test
def test_clock_first_start_creates_key_and_chimes_then_shows_analog_face(h):
    c = Clock(h)
    h.check(h.reg_query(KEY) is None, "the clock's key exists before the first start")
    program = c.start()
    listing = h.reg_query(KEY, "DisplayName") or ""
    h.check("Solvarin Ver1.0" in listing and "REG_SZ" in listing, f"DisplayName not written: {listing!r}")
    region = c.region()
    h.check(region is not None and region["box"] == [0, 0, 128, 128], f"analog outline: {region}")
    h.check(region["area"] < 128 * 128 - 2000, "the analog outline is not round")
    time.sleep(1.0)
    h.screenshot("chime")
    time.sleep(chime_wait_seconds())
    h.screenshot("analog")
    h.check(program.running(), "the clock ended by itself")
    c.quit(program)
    record = c.settings()
    h.check(record is not None and len(record) == 36, f"Marwenik after Quit: {record!r}")
    h.check_equal(record, settings_record(), "settings written by the first run")


@clock_test
def test_clock_second_start_brings_hidden_first_back(h):
    c = Clock(h)
    first = c.start()
    c.poke("post", "PENDRICK", WM_SYSCOMMAND, SC_MINIMIZE, 0)
    h.check(wait_until(lambda: c.clocks() and c.clocks()[0]["visible"] == 0, 5), "minimise did not hide the clock")
    second = c.start(wait=False)
    h.check_equal(second.wait(15), 0, "exit code of the second start")
    h.check(wait_until(lambda: c.clocks() and c.clocks()[0]["visible"] == 1, 5),
            "the second start did not bring the clock back")
    h.check_equal(len(c.clocks()), 1, "clock windows")
    h.check(first.running(), "the first clock ended")


@clock_test
def test_clock_menu_switches_outline_and_quit_saves_position_and_mode(h):
    c = Clock(h)
    c.write_settings(settings_record(x=600, y=700))  # partly off a 1024 x 768 screen
    program = c.start()
    h.check_equal(c.rect(), {"left": 600, "top": 640, "right": 728, "bottom": 768}, "clock moved onto the screen")
    analog = c.region()
    c.menu(DIGITAL12)
    digital = c.region()
    h.check(digital is not None and digital["hash"] != analog["hash"], "the outline did not change for digital")
    time.sleep(1.0)
    h.screenshot("digital-chime")
    c.menu(TOP_MOST)
    h.check_equal(c.region()["hash"], digital["hash"], "Top Most changed the outline")
    c.menu(ANALOG)
    h.check_equal(c.region()["hash"], analog["hash"], "back to analog: outline")
    c.menu(DIGITAL24)
    c.move("PENDRICK", 300, 200)
    c.quit(program)
    record = c.settings()
    h.check(record is not None, "no Marwenik after Quit")
    h.check_equal((field(record, 0), field(record, 8), field(record, 12), field(record, 16)), (1, 2, 300, 200),
                  "top-most, mode, x, y stored at Quit")


@clock_test
def test_clock_near_edge_snaps_and_damaged_record_is_brought_into_range(h):
    c = Clock(h)
    c.write_settings(settings_record(mode=9, x=50, y=300, hour=99, memos=0x7FFFFFFF))
    program = c.start()
    h.check_equal(c.rect(), {"left": 0, "top": 300, "right": 128, "bottom": 428}, "clamped position")
    h.check(c.region()["box"] == [0, 0, 128, 128], "a mode out of range did not fall back to the analog face")
    h.check_equal(c.memos(), [], "memo windows from a damaged count")
    c.quit(program)
    record = c.settings()
    h.check_equal((field(record, 8), record[20], field(record, 32)), (0, 17, 0), "mode, alarm hour, memo count saved")


# ---- Alarm and kitchen timer ----------------------------------------------------------------

@clock_test
def test_clock_alarm_dialog_sets_time_and_switches(h):
    c = Clock(h)
    program = c.start()
    c.menu(ALARM)
    box = h.wait_window(title="アラーム設定", timeout_ms=8000)
    h.check(box is not None, "the alarm dialog did not open")
    h.check_equal(h.ui("check", "--title", "アラーム設定", "--id", 1000)[1].strip(), "1", "alarm on box")
    h.check_equal(h.ui("text", "--title", "アラーム設定", "--id", 1002)[1].strip(), "17", "hour shown")
    enabled = lambda i: h.ui("enabled", "--title", "アラーム設定", "--id", i, "--self")[1].strip()  # noqa: E731
    h.ui("click", "--title", "アラーム設定", "--id", 1000)  # alarm off: the time controls grey out
    time.sleep(0.3)
    h.check_equal([enabled(i) for i in (1008, 1001, 1002, 1003, 1004)], ["0"] * 5, "controls with the alarm off")
    h.ui("click", "--title", "アラーム設定", "--id", 1000)
    time.sleep(0.3)
    h.check_equal([enabled(i) for i in (1008, 1001, 1002, 1003, 1004)], ["1"] * 5, "controls with the alarm on")
    c.poke("settext", "アラーム設定", 1002, "6")
    c.poke("settext", "アラーム設定", 1004, "45")
    h.ui("click", "--title", "アラーム設定", "--id", 1008)  # sound off
    time.sleep(0.3)
    h.screenshot("alarm-dialog")
    h.ui("press", "--title", "アラーム設定", "--button", "OK")
    h.check(h.ui("wait-gone", "--title", "アラーム設定", "--timeout", 5000)[0] == 0, "the dialog stayed")
    c.quit(program)
    record = c.settings()
    h.check_equal((record[20], record[21], field(record, 24), field(record, 28)), (6, 45, 1, 0),
                  "alarm hour, minute, on, sound")


@clock_test
def test_clock_alarm_flashes_and_kitchen_timer_overlay_shows(h):
    c = Clock(h)
    now = time.localtime()
    if now.tm_sec > 50:
        time.sleep(61 - now.tm_sec)
        now = time.localtime()
    c.write_settings(settings_record(x=200, y=200, hour=now.tm_hour, minute=now.tm_min))
    # The alarm fires on the first tick; the frame (bezel points here) flashes on 18 of its
    # 48 ticks, while the chime's bird stays in the middle. The watcher is running before
    # the clock starts, so that it sees the first second.
    shot = os.path.join(h.dir, "flash.bmp")
    log = os.path.join(h.dir, "watch.txt")
    with open(log, "wb") as out:
        watcher = subprocess.Popen(["wine", c.poke_exe, "watch", "PENDRICK", "3000", "Z:" + shot.replace("/", "\\"),
                                    "64", "2", "126", "64", "64", "125"], env=h.env, stdout=out,
                                   stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    time.sleep(1.5)
    program = c.start(wait=False)
    watcher.wait(timeout=30)
    found = [json.loads(line) for line in open(log) if line.startswith("{")]
    h.check(found and found[0]["differing"] > 0, f"no flash seen while the alarm signals: {found}")
    if os.path.isfile(shot):
        kept = os.path.join(os.path.dirname(h.screenshot("after-flash")), h.name + "-alarm-flash.png")
        subprocess.run(["convert", shot, kept], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    h.check(h.wait_window(cls="PENDRICK") is not None, "no clock window")
    c.menu(KITCHEN_TIMER)
    time.sleep(0.5)
    h.screenshot("kitchen-timer")
    # Right click above the timer's cells ends the timer mode and leaves no menu open.
    c.poke("post", "PENDRICK", WM_RBUTTONDOWN, 2, 0x00080008)
    time.sleep(0.5)
    h.check_equal(len(c.clocks()), 1, "clock windows")
    # 00:03 set with three left clicks on the seconds digit, then the start button.
    c.menu(KITCHEN_TIMER)
    for _ in range(3):
        c.poke("post", "PENDRICK", WM_LBUTTONDOWN, 1, 0x00280064)
    c.poke("post", "PENDRICK", WM_LBUTTONDOWN, 1, 0x00480028)
    time.sleep(0.3)
    tile = lambda: c.poke("pixel", 200 + 104, 200 + 52)[1].strip()  # noqa: E731  inside the seconds tile
    running = tile()
    h.screenshot("kitchen-timer-running")
    time.sleep(6)
    h.check(tile() != running, f"the seconds tile ({running}) still shows six seconds after a 00:03 start")
    c.quit(program)


# ---- Quick memos -------------------------------------------------------------------------

def open_text_dialog(c, memo_hwnd):
    c.menu(1, target=memo_hwnd, message=WM_RBUTTONUP, lparam=0x00080008)
    c.h.check(c.h.wait_window(title="テキスト設定", timeout_ms=8000) is not None, "the text dialog did not open")


def add_text(c, memo_hwnd, text):
    open_text_dialog(c, memo_hwnd)
    c.poke("settext", "テキスト設定", 1007, text)
    c.h.ui("press", "--title", "テキスト設定", "--button", "OK")
    c.h.ui("wait-gone", "--title", "テキスト設定", "--timeout", 5000)
    time.sleep(0.5)


@clock_test
def test_clock_memos_kept_across_restart_and_close_deletes_its_value(h):
    c = Clock(h)
    c.write_settings(settings_record(x=300, y=300))
    program = c.start()
    for n in range(3):
        c.menu(QUICK_MEMO)
    memos = c.memos()
    h.check_equal(len(memos), 3, "memo windows opened")
    h.check_equal(memos[0]["rect"], [300, 300, 428, 332], "a new memo at the clock, 128 x 32")
    add_text(c, memos[0]["hwnd"], "買い物\r\n\r\nパン")
    sized = [m for m in c.memos() if m["hwnd"] == memos[0]["hwnd"]][0]["rect"]
    h.check(sized[3] - sized[1] > 32, f"the memo was not sized to three lines: {sized}")
    c.move(memos[0]["hwnd"], 500, 100)
    c.move(memos[1]["hwnd"], 520, 180)
    c.move(memos[2]["hwnd"], 540, 260)
    time.sleep(0.5)
    h.screenshot("memo")
    # The session is not ending after all: nothing may change.
    c.poke("post", "PENDRICK", WM_ENDSESSION, 0, 0)
    time.sleep(0.5)
    h.check_equal(len(c.memos()), 3, "memos after WM_ENDSESSION(FALSE)")
    c.quit(program)
    h.check_equal(memo_values(h), ["DURUVO_MEMO0", "DURUVO_MEMO1", "DURUVO_MEMO2"], "saved memo values")
    h.check_equal(field(c.settings(), 32), 3, "memo count")

    program = c.start()
    restored = c.memos()
    h.check_equal(len(restored), 3, "memos restored")
    h.check(any(m["rect"][:2] == [500, 100] and m["rect"][3] - m["rect"][1] > 32 for m in restored),
            f"the memo with text did not come back in place: {restored}")
    # "Close" on the memo restored from value 1 deletes that value only.
    second = [m for m in restored if m["rect"][:2] == [520, 180]][0]
    c.menu(3, target=second["hwnd"], message=WM_RBUTTONUP, lparam=0x00080008)
    h.check(wait_until(lambda: len(c.memos()) == 2, 5), "the closed memo stayed")
    h.check_equal(memo_values(h), ["DURUVO_MEMO0", "DURUVO_MEMO2"], "values after Close")
    c.quit(program)
    h.check_equal(memo_values(h), ["DURUVO_MEMO0", "DURUVO_MEMO1", "DURUVO_MEMO2"], "renumbered at Quit")
    h.check_equal(field(c.settings(), 32), 2, "memo count after Close")


@clock_test
def test_clock_call_window_brings_memo_and_clock_back(h):
    c = Clock(h)
    c.write_settings(settings_record(x=100, y=100))
    program = c.start()
    c.menu(QUICK_MEMO)
    memo = c.memos()[0]
    c.move(memo["hwnd"], 980, 300)   # right edge 1108 on a 1024-wide screen
    c.move("PENDRICK", 1000, 700)
    c.tray_menu(2)  # Call Window
    time.sleep(0.5)
    moved = [m for m in c.memos() if m["hwnd"] == memo["hwnd"]][0]["rect"]
    h.check_equal(moved, [896, 300, 1024, 332], "memo after Call Window")
    h.check_equal(c.rect(), {"left": 896, "top": 640, "right": 1024, "bottom": 768}, "clock after Call Window")
    c.quit(program)


@clock_test
def test_clock_quit_with_a_foreign_memo_class_window_saves_only_its_own(h):
    c = Clock(h)
    c.write_settings(settings_record(x=100, y=100))
    with open(os.path.join(h.dir, "foreign.txt"), "wb") as out:
        foreign = subprocess.Popen(["wine", c.poke_exe, "foreign-memo", "60000"], env=h.env, stdout=out,
                                   stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)
    try:
        h.check(wait_until(lambda: len(c.memos()) == 1, 15), "the foreign memo-class window did not appear")
        program = c.start()
        c.menu(QUICK_MEMO)
        c.menu(QUICK_MEMO)
        h.check_equal(len(c.memos()), 3, "memo-class windows (two of the clock's, one foreign)")
        c.quit(program)
        h.check_equal(memo_values(h), ["DURUVO_MEMO0", "DURUVO_MEMO1"], "values saved")
        h.check_equal(field(c.settings(), 32), 2, "memo count")
        h.check_equal(len(c.memos()), 1, "memo-class windows left (the foreign one)")
    finally:
        foreign.kill()
        foreign.wait()


# ---- Japanese texts whatever the system's code page --------------------------------------

# What the clock puts in place of a typed character Shift-JIS cannot hold.
MARK = "？"


def dialog_texts(h, title):
    """(id, text) of every control of the dialog titled title."""
    _, out = h.ui("children", "--title", title)
    return [(c["id"], c["text"]) for c in (json.loads(line) for line in out.splitlines() if line.strip())]


def dialog_controls(h, title):
    """(hwnd, id) of every control of the dialog titled title."""
    _, out = h.ui("children", "--title", title)
    return [(c["hwnd"], c["id"]) for c in (json.loads(line) for line in out.splitlines() if line.strip())]


def check_dialog(h, title, expected):
    """The dialog is open under its Japanese caption and shows every expected (id, text)."""
    h.check(h.wait_window(title=title, timeout_ms=8000) is not None, f"no dialog titled {title!r}")
    texts = dialog_texts(h, title)
    missing = [pair for pair in expected if pair not in texts]
    h.check(not missing, f"{title}: controls {missing} not shown; shown: {texts}")


def close_dialog(h, title):
    h.ui("press", "--title", title, "--button", "ｷｬﾝｾﾙ")
    h.check(h.ui("wait-gone", "--title", title, "--timeout", 5000)[0] == 0, f"{title} stayed open")


@clock_test
def test_clock_window_and_dialog_texts_read_in_japanese(h):
    c = Clock(h)
    c.write_settings(settings_record(x=300, y=300))
    program = c.start()
    h.check_equal(h.wait_window(cls="PENDRICK")["title"], "Marwenik", "clock window title")
    c.menu(QUICK_MEMO)
    memo = h.wait_window(cls="QUICKMEMO")
    h.check(memo is not None and memo["title"] == "QuickMemo", f"memo window: {memo}")

    c.menu(ALARM)
    check_dialog(h, "アラーム設定", [(1000, "使用する"), (1008, "音の再生"), (0xFFFF, "時"), (0xFFFF, "分"), (1, "OK"),
                                     (2, "ｷｬﾝｾﾙ")])
    h.screenshot("alarm-dialog")
    close_dialog(h, "アラーム設定")

    open_text_dialog(c, memo["hwnd"])
    check_dialog(h, "テキスト設定", [(4, "フォント"), (3, "色"), (1, "OK"), (2, "ｷｬﾝｾﾙ")])
    h.ui("press", "--title", "テキスト設定", "--button", "色")
    check_dialog(h, "色設定", [(1029, "テキスト"), (1030, "背景"), (2, "ｷｬﾝｾﾙ")])
    h.screenshot("colour-dialog")
    close_dialog(h, "色設定")
    h.ui("press", "--title", "テキスト設定", "--button", "フォント")
    check_dialog(h, "フォント設定", [(0xFFFF, "サイズ"), (0xFFFF, "太さ"), (1033, "イタリック"), (2, "ｷｬﾝｾﾙ")])
    faces = h.ui_json("items", "--title", "フォント設定", "--id", 1030) or {"items": []}
    h.check(faces["items"], "the face list is empty")
    # A name that went through another code page would have lost its Japanese to "?".
    h.check(not [f for f in faces["items"] if "?" in f], f"face names garbled: {faces['items']}")
    h.screenshot("font-dialog")
    close_dialog(h, "フォント設定")
    close_dialog(h, "テキスト設定")
    c.quit(program)


@clock_test
def test_clock_memo_typed_in_japanese_survives_restart_as_shift_jis(h):
    c = Clock(h)
    c.write_settings(settings_record(x=300, y=300))
    program = c.start()
    c.menu(QUICK_MEMO)
    memo = c.memos()[0]
    # é and the emoji have no Shift-JIS code: each shows as the mark, the rest stays as typed.
    add_text(c, memo["hwnd"], "買い物\r\nパン\r\ncafé \U0001F600")
    c.move(memo["hwnd"], 500, 100)
    typed = [m for m in c.memos() if m["hwnd"] == memo["hwnd"]][0]["rect"]
    h.check(typed[3] - typed[1] > 32, f"the memo was not sized to three lines: {typed}")
    h.screenshot("memo")
    # More than the record's 511 bytes: the box gives back what a key adds beyond them, and
    # the text is cut after the last whole double-byte character.
    c.menu(QUICK_MEMO)
    long_memo = [m for m in c.memos() if m["hwnd"] != memo["hwnd"]][0]
    open_text_dialog(c, long_memo["hwnd"])
    c.poke("settext", "テキスト設定", 1007, "表" * 300)
    edit = [hwnd for hwnd, ident in dialog_controls(h, "テキスト設定") if ident == 1007][0]
    c.poke("post", edit, WM_CHAR, ord("表"), 1)
    h.check(wait_until(lambda: h.ui("text", "--title", "テキスト設定", "--id", 1007)[1].rstrip("\n") == "表" * 255, 5),
            "typing into an over-long memo text did not cut it to 255 double-byte characters")
    h.ui("press", "--title", "テキスト設定", "--button", "OK")
    h.ui("wait-gone", "--title", "テキスト設定", "--timeout", 5000)
    c.quit(program)
    long_record = c.binary("DURUVO_MEMO1")
    h.check(long_record is not None, "the second memo was not saved")
    h.check_equal(long_record[16:532], ("表" * 255).encode("cp932").ljust(516, b"\0"), "a long memo's text bytes")

    record = c.binary("DURUVO_MEMO0")
    h.check(record is not None and len(record) == 628, f"DURUVO_MEMO0: {record!r}")
    shown = f"買い物\r\nパン\r\ncaf{MARK} {MARK}"
    h.check_equal(record[16:532], shown.encode("cp932").ljust(516, b"\0"), "memo text bytes (Shift-JIS)")
    h.check_equal(record[552:616], "ＭＳ ゴシック".encode("cp932").ljust(64, b"\0"), "face name bytes")

    program = c.start()
    restored = [m for m in c.memos() if m["rect"][:2] == typed[:2]]
    h.check_equal([m["rect"] for m in restored], [typed], "memo restored in place and size")
    open_text_dialog(c, restored[0]["hwnd"])
    h.check_equal(h.ui("text", "--title", "テキスト設定", "--id", 1007)[1].rstrip("\n"), shown,
                  "the restored memo's text in its dialog")
    close_dialog(h, "テキスト設定")
    c.quit(program)
    h.check_equal(c.binary("DURUVO_MEMO0"), record, "the record after a run that changed nothing")
