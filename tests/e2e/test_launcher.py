"""OSTREL.EXE's launcher under Wine: its title, buttons (places, captions, enabled and
default states) for several option sets, the sub buttons, Play, the ways to end it, a
second start, and the background picture (missing at start-up, BITMAP at run time)."""
import os
import struct
import subprocess

import harness
from harness import run_captured, wait_until

LAUNCHER = "Tavrel ｾｯﾄｱｯﾌﾟ"
SETUP, EXIT, PLAY, UNINSTALL, SUB1, SUB2 = 1000, 1001, 1002, 1009, 1024, 1025
BS_DEFPUSHBUTTON = 1
PICTURE_LOAD_FAILED = "ビットマップファイルの読み込みに失敗しました。\n　　　　　　　　終了します。"


def make_bmp(width, height, colour):
    """An 8-bit BMP whose every pixel has one palette colour (r, g, b); entry 1 is white."""
    row = (width + 3) & ~3
    table = bytes((colour[2], colour[1], colour[0], 0)) + bytes((255, 255, 255, 0)) + bytes(4 * 254)
    pixels = bytes(row) * height
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + table + pixels


BLUE = (20, 40, 200)
RED = (210, 30, 30)


def make_split_bmp(width, height, top_down=False, header_size=40):
    """An 8-bit picture whose upper half is RED and lower half BLUE, stored bottom-up or
    top-down, with a 40-, 108- or 124-byte info header."""
    row = (width + 3) & ~3
    table = bytes((BLUE[2], BLUE[1], BLUE[0], 0)) + bytes(4) + bytes((RED[2], RED[1], RED[0], 0)) + bytes(4 * 253)
    rows = [bytes([2 if y < height // 2 else 0]) * row for y in range(height)]  # y from the top
    pixels = b"".join(rows if top_down else reversed(rows))
    offset = 14 + header_size + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", header_size, width, -height if top_down else height, 1, 8, 0,
                       len(pixels), 2835, 2835, 0, 0) + bytes(header_size - 40)
    return header + info + table + pixels

GREEN = (30, 180, 60)


def pixel(path, x, y):
    """The (r, g, b) of a screenshot's pixel."""
    fmt = ",".join("%[fx:int(255*p{" + f"{x},{y}" + "}." + c + ")]" for c in "rgb")
    out = subprocess.run(["convert", path, "-format", fmt, "info:-"], capture_output=True, text=True, check=True)
    return tuple(int(v) for v in out.stdout.strip().split(","))


def near(a, b, tolerance=6):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def start_launcher(h, script, picture=None, args=()):
    files = {"SETUP.BMP": picture if picture is not None else make_bmp(640, 480, BLUE)}
    h.cd(script=script, files=files)
    program = h.start(args=args)
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=30000) is not None, "the launcher did not appear")
    return program


def launcher_client_origin(h):
    rect = h.ui_json("rect", "--title", LAUNCHER)
    border_x = (rect["width"] - rect["client_width"]) // 2
    border_y = (rect["height"] - rect["client_height"]) // 2
    return rect, rect["left"] + border_x, rect["top"] + border_y


def buttons(h):
    """Controls of the launcher by id: rect (client coordinates), text, visible, enabled."""
    _, ox, oy = launcher_client_origin(h)
    code, text = h.ui("children", "--title", LAUNCHER)
    h.check(code == 0, "cannot list the launcher's controls")
    out = {}
    import json
    for line in text.splitlines():
        if not line.strip():
            continue
        c = json.loads(line)
        left, top, right, bottom = c["rect"]
        c["client"] = (left - ox, top - oy, right - left, bottom - top)
        out[c["id"]] = c
    return out


def is_default(h, control_id):
    style = h.ui_json("style", "--title", LAUNCHER, "--id", control_id)
    return int(style["style"], 16) & 0xF == BS_DEFPUSHBUTTON


def mark_installed(h, dst_dir="GAME"):
    """Records an installation the way the installer does: the folder and its registry value."""
    folder = os.path.join(harness.PREFIX, "drive_c", "TAVREL", dst_dir)
    os.makedirs(folder, exist_ok=True)
    code, _ = run_captured(["wine", "reg", "add", r"HKCU\Software\Tavrel\Ostrel", "/v", dst_dir, "/d",
                            "C:\\TAVREL\\%s\\" % dst_dir, "/f"], h.env, 60)
    h.check(code == 0, "cannot write the installation record")
    return folder


def check_ends(h, program, what):
    h.check(program.wait(15) is not None, f"OSTREL.EXE still runs after {what}")
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=500) is None, f"the launcher is still there after {what}")


# ---- Title, places, captions and states --------------------------------------------------

def test_defaults_title_places_captions_and_states(h):
    generated = os.path.join(harness.ROOT, "build", "generated", "SETUP.BMP")
    picture = open(generated, "rb").read() if os.path.isfile(generated) else None
    start_launcher(h, "[OPTIONS]\n[UNINSTALL]\n", picture=picture)
    h.screenshot("launcher")
    rect, _, _ = launcher_client_origin(h)
    h.check_equal((rect["width"], rect["height"]), (640, 480), "launcher size")
    screen_w = rect["left"] * 2 + 640
    h.check(abs(rect["left"] - (screen_w - 640) // 2) <= 1, "the launcher is not centred")
    b = buttons(h)
    expected = {SETUP: ("Setup", (128, 312, 128, 48), True), PLAY: ("Play", (384, 312, 128, 48), False),
                EXIT: ("Exit", (128, 384, 128, 48), True), UNINSTALL: ("Uninstall", (384, 384, 128, 48), False)}
    for cid, (caption, place, enabled) in expected.items():
        h.check_equal(b[cid]["text"], caption, f"caption of {cid}")
        h.check_equal(b[cid]["client"], place, f"place of {caption}")
        h.check_equal(bool(b[cid]["enabled"]), enabled, f"enabled state of {caption}")
        h.check_equal(bool(b[cid]["visible"]), True, f"visibility of {caption}")
    h.check(not b[SUB1]["visible"] and not b[SUB2]["visible"], "sub buttons shown without SUBBTN1/SUBBTN2")
    h.check(is_default(h, SETUP), "Setup is not the default button")
    frame = h.wait_window(title="Tavrel SETUP", timeout_ms=1000)
    h.check(frame is not None, "no frame window")
    h.check_equal(frame["rect"][2] - frame["rect"][0], 0, "frame window width")


def test_captions_and_btnwidth_zero(h):
    start_launcher(h, "[OPTIONS]\nBtnWidth=0\nBtnHeight=20\nSetupText = インストール\nPlayText=遊ぶ\n"
                      "ExitText = \"終 了\"\nUninstText=削除\nSetupBtnX=50\nSetupBtnY=50\n")
    b = buttons(h)
    h.check_equal(b[SETUP]["client"], (240, 192, 160, 96), "Setup with BtnWidth=0, BtnHeight=20")
    h.check_equal(b[EXIT]["client"][2:], (160, 96), "Exit size")
    h.check_equal([b[i]["text"] for i in (SETUP, PLAY, EXIT, UNINSTALL)], ["インストール", "遊ぶ", "終 了", "削除"],
                  "captions")


def test_setupbtn_zero_not_installed_makes_exit_default(h):
    start_launcher(h, "[OPTIONS]\nSetupBtn=0\n")
    b = buttons(h)
    h.check(b[SETUP]["visible"] and not b[SETUP]["enabled"], "Setup must be visible and greyed")
    h.check(not b[PLAY]["enabled"], "Play enabled without an installation")
    h.check(is_default(h, EXIT), "Exit is not the default button")
    h.check(not is_default(h, SETUP), "Setup kept the default style")


def test_setupbtn_zero_installed_makes_play_default(h):
    mark_installed(h)
    start_launcher(h, "[OPTIONS]\nDstDir=GAME\nSetupBtn=0\n[UNINSTALL]\nDELETE x\n")
    b = buttons(h)
    h.check(not b[SETUP]["enabled"], "Setup enabled with SetupBtn=0")
    h.check(b[PLAY]["enabled"], "Play greyed although installed")
    h.check(b[UNINSTALL]["enabled"], "Uninstall greyed although installed with an uninstall section")
    h.check(is_default(h, PLAY), "Play is not the default button")
    h.check(not is_default(h, EXIT), "Exit has the default style")


def test_installed_without_uninstall_section_keeps_uninstall_greyed(h):
    mark_installed(h)
    start_launcher(h, "[OPTIONS]\nDstDir=GAME\nPlayBtn=0\n")
    b = buttons(h)
    h.check(not b[PLAY]["enabled"], "Play enabled with PlayBtn=0")
    h.check(not b[UNINSTALL]["enabled"], "Uninstall enabled without an uninstall section")
    h.check(b[SETUP]["enabled"] and is_default(h, SETUP), "Setup must stay the enabled default")


# ---- Sub buttons and Play -------------------------------------------------------------

def test_sub_buttons_appear_after_subbtn_and_run_their_sections(h):
    start_launcher(h, "[OPTIONS]\n[INIT]\nSUBBTN1 \"説明\",~[ONE],50,20\nSUBBTN2 Web,~[TWO],80,20\n"
                      "[ONE]\nPRINT \"一つ目\"\n[TWO]\nPRINT \"二つ目\"\n")
    b = buttons(h)
    h.check(b[SUB1]["visible"] and b[SUB2]["visible"], "sub buttons not shown after SUBBTN1/SUBBTN2")
    h.check_equal((b[SUB1]["text"], b[SUB2]["text"]), ("説明", "Web"), "sub button captions")
    h.check_equal(b[SUB1]["client"], (256, 72, 128, 48), "sub button 1 place")
    h.check_equal(b[SUB2]["client"], (448, 72, 128, 48), "sub button 2 place")
    h.ui("click", "--title", LAUNCHER, "--id", SUB2)
    h.check_msgbox(h.msgbox(press="OK"), "二つ目", "")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    h.check_msgbox(h.msgbox(press="OK"), "一つ目", "")


def test_play_runs_the_play_section(h):
    mark_installed(h)
    program = start_launcher(h, "[OPTIONS]\nDstDir=GAME\n[PLAY]\nPRINT \"プレイ\"\n")
    h.ui("click", "--title", LAUNCHER, "--id", PLAY)
    h.check_msgbox(h.msgbox(press="OK"), "プレイ", "")
    h.check(program.wait(2) is None, "the installer ended after [PLAY]")


def test_play_without_section_starts_the_registered_program_and_ends(h):
    game = harness.need_file(os.path.join(harness.WIN_BUILD, "GAME.EXE"))
    folder = mark_installed(h)
    with open(game, "rb") as src, open(os.path.join(folder, "GAME.EXE"), "wb") as dst:
        dst.write(src.read())
    program = start_launcher(h, "[OPTIONS]\nDstDir=GAME\nExeName=GAME.EXE\nClass=NoSuchClass\n")
    h.ui("click", "--title", LAUNCHER, "--id", PLAY)
    h.check(h.wait_window(cls="TavrelDemoGame", timeout_ms=15000) is not None, "the game did not start")
    check_ends(h, program, "Play")


# ---- Ending and a second start ------------------------------------------------------------

def test_exit_button_ends_the_program(h):
    program = start_launcher(h, "[OPTIONS]\n")
    h.ui("click", "--title", LAUNCHER, "--id", EXIT)
    check_ends(h, program, "Exit")


def test_escape_ends_the_program(h):
    program = start_launcher(h, "[OPTIONS]\n")
    h.ui("key", "--title", LAUNCHER, "--vk", 27)
    check_ends(h, program, "Esc")


def test_close_box_ends_the_program(h):
    program = start_launcher(h, "[OPTIONS]\n")
    h.ui("close", "--title", LAUNCHER)
    check_ends(h, program, "the close message")


def test_quit_in_a_sub_section_ends_after_the_section(h):
    # A message box would close at once on the pending quit: leave a folder as the mark.
    program = start_launcher(h, "[OPTIONS]\n[INIT]\nSUBBTN1 Q,~[BYE],50,50\n[BYE]\nQUIT\nMKDIR %SrcDrv%AFTER\n")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    check_ends(h, program, "QUIT")
    h.check(os.path.isdir(os.path.join(h.cd_dir, "AFTER")), "the line after QUIT did not run")


def test_second_start_brings_the_launcher_forward(h):
    first = start_launcher(h, "[OPTIONS]\n")
    second = h.start()
    h.check(second.wait(15) is not None, "the second OSTREL.EXE did not end")
    h.check(first.running(), "the first installer ended")
    h.check(h.no_msgbox(), "the second start showed a message")
    code, text = h.ui("foreground", "--title", LAUNCHER)
    h.check_equal(text.strip(), "1", "the first launcher is not in the foreground")


# ---- The picture ---------------------------------------------------------------------------

def test_missing_setup_bmp_reports_and_ends(h):
    h.cd(script="[OPTIONS]\n")
    program = h.start()
    box = h.msgbox(press="OK")
    h.check_msgbox(box, PICTURE_LOAD_FAILED, "Setup", icon="warning", buttons=["OK"])
    h.check(program.wait(15) is not None, "OSTREL.EXE still runs without its picture")


def test_picture_named_with_b_is_loaded(h):
    h.cd(script="[OPTIONS]\n", files={"OTHER.BMP": make_bmp(320, 240, GREEN)})
    h.start(args=["-b", "OTHER.BMP"])
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=30000) is not None, "the launcher did not appear")
    rect, _, _ = launcher_client_origin(h)
    h.check_equal((rect["width"], rect["height"]), (320, 240), "launcher size from -b's picture")


def test_pictures_with_japanese_names_from_b_and_bitmap(h):
    h.cd(script="[OPTIONS]\nSetupText = インストール\n[INIT]\nSUBBTN1 絵,~[PICTURE],80,10\n[PICTURE]\nBITMAP 青い絵.BMP\n",
         files={"緑の絵.BMP": make_bmp(320, 240, GREEN), "青い絵.BMP": make_bmp(320, 240, BLUE)})
    h.start(args=["-b", "緑の絵.BMP"])
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=30000) is not None, "the launcher did not appear")
    rect, ox, oy = launcher_client_origin(h)
    h.check_equal((rect["width"], rect["height"]), (320, 240), "launcher size from -b's picture")
    h.check(near(pixel(h.screenshot("green"), ox + 20, oy + 20), GREEN), "the launcher does not show 緑の絵.BMP")
    b = buttons(h)
    h.check_equal((b[SETUP]["text"], b[SUB1]["text"]), ("インストール", "絵"), "captions")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    shown = wait_until(lambda: near(pixel(h.screenshot("blue"), ox + 20, oy + 20), BLUE), 5, 0.5)
    h.check(shown, "BITMAP 青い絵.BMP did not repaint the launcher")


def test_bitmap_of_a_missing_file_reports_and_keeps_the_picture(h):
    program = start_launcher(h, "[OPTIONS]\n[INIT]\nSUBBTN1 Bad,~[BAD],80,10\nSUBBTN2 Good,~[GOOD],80,25\n"
                                "[BAD]\nBITMAP NONE.BMP\nPRINT \"続かない\"\n[GOOD]\nBITMAP GREEN.BMP\n")
    h.write("GREEN.BMP", make_bmp(640, 480, GREEN))
    _, ox, oy = launcher_client_origin(h)
    before = h.screenshot("before-bitmap")
    h.check(near(pixel(before, ox + 20, oy + 20), BLUE), "the launcher does not show its picture")

    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    box = h.msgbox(press="OK")
    h.check_msgbox(box, "ビットマップファイルの読み込みに失敗しました", "", icon="warning", buttons=["OK"])
    h.check(h.no_msgbox(), "the section went on after the failed BITMAP")
    h.check(program.running(), "the installer ended after a failed BITMAP")
    after = h.screenshot("after-bad-bitmap")
    h.check(near(pixel(after, ox + 20, oy + 20), BLUE), "the launcher lost its picture")

    h.ui("click", "--title", LAUNCHER, "--id", SUB2)
    shown = wait_until(lambda: near(pixel(h.screenshot("after-good-bitmap"), ox + 20, oy + 20), GREEN), 5, 0.5)
    h.check(shown, "BITMAP of a good picture did not repaint the launcher")


def test_pictures_with_no_width_or_height_are_refused_at_start_up(h):
    for width, height in ((0, 480), (640, 0), (-640, 480)):
        picture = bytearray(make_bmp(16, 16, BLUE))
        picture[18:26] = struct.pack("<ii", width, height)
        h.cd(script="[OPTIONS]\n", files={"SETUP.BMP": bytes(picture)})
        program = h.start()
        h.check_msgbox(h.msgbox(press="OK"), PICTURE_LOAD_FAILED, "Setup", icon="warning")
        h.check(program.wait(15) is not None, f"OSTREL.EXE still runs with a {width} x {height} picture")


def test_top_down_and_later_header_pictures_are_drawn_upright(h):
    for top_down, header_size in ((True, 40), (False, 124), (True, 108)):
        program = start_launcher(h, "[OPTIONS]\n", picture=make_split_bmp(400, 300, top_down, header_size))
        rect, ox, oy = launcher_client_origin(h)
        what = f"top-down={top_down}, header {header_size}"
        h.check_equal((rect["width"], rect["height"]), (400, 300), f"launcher size ({what})")
        shot = h.screenshot(f"split-{int(top_down)}-{header_size}")
        h.check(near(pixel(shot, ox + 10, oy + 10), RED), f"the top of the picture is not red ({what})")
        h.check(near(pixel(shot, ox + 10, oy + 280), BLUE), f"the bottom of the picture is not blue ({what})")
        h.ui("click", "--title", LAUNCHER, "--id", EXIT)
        h.check(program.wait(15) is not None, "the launcher did not end")
