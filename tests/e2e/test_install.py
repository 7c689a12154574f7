"""OSTREL.EXE's install flow under Wine on the demo CD: the launcher's Setup, the
welcome, destination and confirmation screens, the offer of an existing TAVREL folder, a
typed path, progress and completion, and what the install leaves behind (files, links,
registry values, the uninstall entry); then stopping, refusals and the update install."""
import os
import shutil
import time

import harness
from harness import wait_until

LAUNCHER = "Tavrel ｾｯﾄｱｯﾌﾟ"
INSTALL_TITLE = "スターボヤージュ デモ版  インストール  ユーティリティ"
SETUP, EXIT, PLAY, UNINSTALL = 1000, 1001, 1002, 1009
OK, STOP, BROWSE, PATH, PERCENT = 1, 2, 1010, 1011, 1012
TITLE, RIGHTS, LINE1, LINE2, LINE3, LINE4 = 1003, 1004, 1005, 1006, 1007, 1008
DEMO_CD = os.path.join(harness.DIST, "cd")
DRIVE_C = os.path.join(harness.PREFIX, "drive_c")
YES, NO = harness.YES, harness.NO
SCRATCH_FOLDERS = ("games", "GAMES", "LONG", "ENTER", "OldGame", "ゲーム", "表示", "caf\u00e9", "cafe", "한국")


def demo_cd(h, script_edit=None, extra=None):
    """The demo CD in the scratch CD folder, with this build's OSTREL.EXE."""
    harness.need_file(os.path.join(DEMO_CD, "TAVREL.INF"))
    for folder in SCRATCH_FOLDERS:  # what earlier tests installed
        shutil.rmtree(os.path.join(DRIVE_C, folder), ignore_errors=True)
    for entry in os.listdir(DEMO_CD):
        src = os.path.join(DEMO_CD, entry)
        dst = os.path.join(h.cd_dir, entry)
        shutil.copytree(src, dst) if os.path.isdir(src) else shutil.copy2(src, dst)
    h.cd()
    if script_edit is not None:
        path = os.path.join(h.cd_dir, "TAVREL.INF")
        text = harness.from_cp932(open(path, "rb").read())
        with open(path, "wb") as f:
            f.write(harness.to_script_bytes(script_edit(text.replace("\r\n", "\n"))))
    for name, data in (extra or {}).items():
        h.write(name, data)


def start(h, args=()):
    program = h.start(args=args)
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=20000) is not None, "the launcher did not appear")
    return program


def text(h, control, title=INSTALL_TITLE):
    code, out = h.ui("text", "--title", title, "--id", control)
    return out.rstrip("\r\n") if code == 0 else None


def visible(h, control, title=INSTALL_TITLE):
    code, out = h.ui("visible", "--title", title, "--id", control)
    return code == 0 and out.strip() == "1"


def enabled(h, control, title=LAUNCHER):
    code, out = h.ui("enabled", "--title", title, "--id", control, "--self")
    return code == 0 and out.strip() == "1"


def click(h, control, title=INSTALL_TITLE):
    # A dialog is found by its title while it is still being set up (its controls shown
    # and enabled as its screen starts); under load that can outlast a fixed pause.
    h.check(wait_until(lambda: h.ui("click", "--title", title, "--id", control)[0] == 0, 5, step=0.2),
            f"cannot click {control} on {title}")


def open_install(h):
    click(h, SETUP, LAUNCHER)
    h.check(h.wait_window(title=INSTALL_TITLE, timeout_ms=10000) is not None, "the install dialog did not appear")
    time.sleep(0.3)


def type_path(h, path):
    code, _ = h.ui("set-text", "--title", INSTALL_TITLE, "--id", PATH, "--text", path)
    h.check(code == 0, "cannot type into the path box")


def wait_text(h, control, wanted, timeout=10):
    h.check(wait_until(lambda: text(h, control) == wanted, timeout),
            f"control {control}: expected {wanted!r}, got {text(h, control)!r}")


def wait_launcher_back(h, timeout=20):
    h.check(h.ui("wait-gone", "--title", INSTALL_TITLE, "--timeout", timeout * 1000, timeout=timeout + 30)[0] == 0,
            "the install dialog did not close")
    h.check(wait_until(lambda: visible(h, SETUP, LAUNCHER), 10), "the launcher did not come back")


def reg_value(h, key, name):
    """The text of a REG_SZ value as the program sees it, or None when absent."""
    out = h.reg_query(key, name)
    if out is None:
        return None
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[0].lower() == name.lower() and parts[1] == "REG_SZ":
            return parts[2] if len(parts) == 3 else ""
    return None


OSTREL_KEY = r"HKCU\Software\Tavrel\Ostrel"


def with_big_file(size, copy_size_k):
    """A script edit that copies a big file first in the install section."""
    def edit(text):
        text = text.replace("CopySize   = 260", f"CopySize   = {copy_size_k}")
        return text.replace("[INSTALL]\n", "[INSTALL]\nCOPY %SrcDrv%%SrcDir%BIG.DAT,%DstDrv%%DstDir%\n", 1)
    return edit


# Big enough that the copy, at the speed of a cached disk, lasts while the test reads the
# progress and presses keys through separate UIAUTO processes.
LONG_COPY = 2 * 1024 * 1024 * 1024


def big_cd(h, size=LONG_COPY):
    demo_cd(h, with_big_file(size, size // 1024))
    with open(os.path.join(h.cd_dir, "DATA", "BIG.DAT"), "wb") as f:
        f.truncate(size)


def to_confirmation(h, path):
    open_install(h)
    click(h, OK)
    wait_text(h, LINE2, "「TAVREL」フォルダを作成します。")
    type_path(h, path)
    click(h, OK)
    wait_text(h, LINE3, "インストールを開始します。")


def test_demo_install_end_to_end(h):
    os.makedirs(os.path.join(DRIVE_C, "TAVREL"), exist_ok=True)
    demo_cd(h)
    start(h)
    h.check(not enabled(h, PLAY) and not enabled(h, UNINSTALL), "Play and Uninstall are enabled before the install")
    open_install(h)
    h.screenshot("welcome")
    h.check_equal(text(h, TITLE), INSTALL_TITLE, "title line")
    h.check_equal(text(h, LINE4), "ゲームデータをハードディスクにコピーします。", "fourth line")
    h.check(not visible(h, PATH), "the path box shows on the welcome screen")

    click(h, OK)
    box = h.msgbox()
    h.check_msgbox(box, "Cドライブに「TAVREL」フォルダが存在します。\nここにスターボヤージュ デモ版をインストールしますか？",
                   "", icon="question", buttons=[YES, NO])
    h.screenshot("offer")
    h.ui("msgbox", "--press", NO)
    wait_text(h, LINE2, "「TAVREL」フォルダを作成します。")
    h.check_equal(text(h, LINE3), "作成するドライブ・フォルダを指定してください。", "third line")
    h.check(visible(h, PATH) and visible(h, BROWSE), "the path box or 参照 is hidden")
    h.check_equal(text(h, OK), "決定", "OK's caption")
    h.check_equal(text(h, BROWSE), "参照", "Browse's caption")
    h.screenshot("destination")

    type_path(h, "c:\\games\\demo")
    click(h, OK)
    wait_text(h, PATH, "C:\\GAMES\\DEMO\\TAVREL\\STARVOY")
    h.check(os.path.isdir(os.path.join(DRIVE_C, "games", "demo", "TAVREL")), "the TAVREL folder was not made")
    h.check_equal(text(h, LINE2), "[決定]を押すと STARVOY フォルダを作成し、", "confirmation line")
    h.check(not visible(h, BROWSE), "参照 still shows on the confirmation screen")
    h.screenshot("confirmation")

    click(h, OK)
    wait_text(h, STOP, "終了", timeout=30)
    h.check_equal(text(h, LINE2), "インストールが終了しました。", "completion line")
    h.check(not visible(h, PERCENT), "the percentage still shows")
    h.screenshot("completion")
    target = os.path.join(DRIVE_C, "games", "demo", "TAVREL", "STARVOY")
    for name in ("GAME.EXE", "STAGE1.DAT", "README.TXT"):
        h.check(os.path.isfile(os.path.join(target, name)), f"{name} was not copied")
    h.check(os.path.isdir(os.path.join(target, "SAVE")), "SAVE was not made")

    click(h, STOP)
    wait_launcher_back(h)
    h.check(enabled(h, PLAY) and enabled(h, UNINSTALL), "Play and Uninstall are not enabled after the install")
    h.screenshot("launcher-after")
    h.check_equal(reg_value(h, OSTREL_KEY, "Path"), "C:\\GAMES\\DEMO", "registry value Path")
    h.check_equal(reg_value(h, OSTREL_KEY, "STARVOY"), "C:\\GAMES\\DEMO\\TAVREL\\STARVOY", "registry value STARVOY")
    entry = h.reg_query(r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\STARVOY") or ""
    h.check("OSTREL.EXE -u" in entry, f"uninstall entry missing: {entry}")
    links = []
    for root, _, files in os.walk(os.path.join(DRIVE_C, "users")):
        links += [f for f in files if f.endswith(".lnk")]
    h.check("スターボヤージュ デモ版.lnk" in links, f"no program link: {links}")


def test_progress_and_stop_during_a_long_copy(h):
    big_cd(h)
    start(h)
    to_confirmation(h, "C:\\LONG")
    click(h, OK)
    def midway():
        shown = (text(h, PERCENT) or "").strip().rstrip("%")
        return shown.isdigit() and 0 < int(shown) < 100
    h.check(wait_until(midway, 30, step=0.05), f"no percentage between 0 and 100: {text(h, PERCENT)!r}")
    h.screenshot("progress")
    h.check_equal(text(h, LINE2), "インストール中です。", "progress line")
    h.check_equal(text(h, STOP), "中止", "Stop's caption")
    h.check(not visible(h, OK) and not visible(h, PATH), "OK or the path box shows during the copy")
    click(h, STOP)
    box = h.msgbox(timeout_ms=15000)
    h.check_msgbox(box, "インストールを中止しますか？", "", icon="question", buttons=[YES, NO])
    h.ui("msgbox", "--press", YES)
    wait_launcher_back(h)
    target = os.path.join(DRIVE_C, "LONG", "TAVREL", "STARVOY")
    h.check(os.path.isdir(target), "the install folder should stay")
    h.check(not os.path.exists(os.path.join(target, "BIG.DAT")), "the partly copied file was left behind")
    h.check(not enabled(h, PLAY), "Play is enabled after a stopped install")
    h.check(reg_value(h, OSTREL_KEY, "STARVOY") is None, "a stopped install was recorded")
    h.check(h.no_msgbox(), "a message followed the confirmed stop")


def test_enter_during_a_copy_asks_and_no_goes_on(h):
    big_cd(h)
    start(h)
    to_confirmation(h, "C:\\ENTER")
    click(h, OK)
    h.check(wait_until(lambda: visible(h, PERCENT), 20), "no progress screen")
    h.ui("key", "--title", INSTALL_TITLE, "--vk", 13)
    box = h.msgbox(timeout_ms=15000)
    h.check_msgbox(box, "インストールを中止しますか？", "", icon="question", buttons=[YES, NO])
    h.ui("msgbox", "--press", NO)
    wait_text(h, STOP, "終了", timeout=120)
    size = os.path.getsize(os.path.join(DRIVE_C, "ENTER", "TAVREL", "STARVOY", "BIG.DAT"))
    h.check_equal(size, LONG_COPY, "size of the copied file")
    click(h, STOP)
    wait_launcher_back(h)
    h.check(enabled(h, PLAY), "Play is not enabled after the install")


def test_cdrom_drive_and_not_enough_space_keep_the_destination_screen(h):
    with h.small_drive("R", "1m") as small:
        demo_cd(h, lambda t: t.replace("RegFlag    = 1", "RegFlag    = 1\nInstSize   = 2000"))
        start(h)
        open_install(h)
        click(h, OK)
        wait_text(h, LINE2, "「TAVREL」フォルダを作成します。")
        type_path(h, "Q:\\GAME")
        click(h, OK)
        h.check_msgbox(h.msgbox(), "このドライブはCD-ROMドライブです。\nインストール出来ません。", "", icon="warning")
        h.ui("msgbox", "--press", "OK")
        type_path(h, "R:\\GAME")
        click(h, OK)
        box = h.msgbox()
        h.screenshot("no-space")
        h.check_msgbox(box, "　　そのドライブでは容量が足りません。\n　　　　　　　ドライブ R:\n"
                            "インストールには、約2Ｍの空き容量が必要です。", "", icon="warning")
        h.ui("msgbox", "--press", "OK")
        time.sleep(0.3)
        h.check_equal(text(h, LINE2), "「TAVREL」フォルダを作成します。", "still the destination screen")
        h.check(not os.path.exists(os.path.join(small, "GAME")), "a folder was made on the full drive")
        click(h, STOP)
        wait_launcher_back(h)


def test_update_install_skips_the_destination_screen(h):
    demo_cd(h, lambda t: t.replace("RegFlag    = 1", "RegFlag    = 1\nInstUpdate = Update"))
    old = os.path.join(DRIVE_C, "OldGame")
    os.makedirs(old, exist_ok=True)
    code, _ = harness.run_captured(["wine", "reg", "add", OSTREL_KEY, "/v", "Update", "/d", "C:\\OldGame",
                                    "/f"], h.env, 60)
    h.check(code == 0, "cannot write the update value")
    try:
        start(h)
        open_install(h)
        click(h, OK)
        wait_text(h, PATH, "C:\\OLDGAME\\")
        h.check_equal(text(h, LINE2), "[決定]を押すと ", "confirmation line of an update")
        h.check_equal(text(h, OK), "決定", "OK's caption")
        h.screenshot("update-confirmation")
        click(h, OK)
        wait_text(h, STOP, "終了", timeout=30)
        h.check(os.path.isfile(os.path.join(old, "GAME.EXE")), "the update did not copy into the folder")
        h.check_equal(reg_value(h, OSTREL_KEY, "STARVOY"), "C:\\OLDGAME\\", "recorded folder")
    finally:
        shutil.rmtree(old, ignore_errors=True)


def test_browse_dialog_opens_on_the_destination_screen_and_cancel_keeps_the_path(h):
    demo_cd(h)
    start(h)
    open_install(h)
    click(h, OK)
    wait_text(h, LINE2, "「TAVREL」フォルダを作成します。")
    type_path(h, "C:\\TYPED")
    click(h, BROWSE)
    browse = h.wait_window(title="ドライブ・フォルダの参照", timeout_ms=40000)  # slow to open under Wine
    h.check(browse is not None, "the browse dialog did not open")
    time.sleep(0.5)
    h.screenshot("browse")
    code, out = h.ui("text", "--title", "ドライブ・フォルダの参照", "--id", 1088)
    h.check(code == 0 and out.strip().upper().startswith("C:"), f"the folder line shows {out!r}")
    for hidden in (1152, 1120):  # the file name box and file list lie outside the visible area
        rect = h.ui_json("rect", "--title", "ドライブ・フォルダの参照", "--id", hidden)
        h.check(rect is None or rect["left"] >= browse["rect"][2], f"control {hidden} is visible: {rect}")
    h.ui("press", "--title", "ドライブ・フォルダの参照", "--button", "Cancel")
    h.check(h.ui("wait-gone", "--title", "ドライブ・フォルダの参照", "--timeout", 8000, timeout=40)[0] == 0,
            "the browse dialog stayed")
    h.check_equal(text(h, PATH), "C:\\TYPED", "path after Cancel")
    h.check_equal(text(h, LINE2), "「TAVREL」フォルダを作成します。", "still the destination screen")
    # OK pressed on the button itself takes the folder the dialog shows.
    click(h, BROWSE)
    h.check(h.wait_window(title="ドライブ・フォルダの参照", timeout_ms=40000) is not None, "no second browse dialog")
    time.sleep(0.5)
    shown = h.ui("text", "--title", "ドライブ・フォルダの参照", "--id", 1088)[1].rstrip("\r\n")
    h.ui("click", "--title", "ドライブ・フォルダの参照", "--id", 1)
    h.check(h.ui("wait-gone", "--title", "ドライブ・フォルダの参照", "--timeout", 8000, timeout=40)[0] == 0,
            "OK did not close the browse dialog")
    h.check_equal(text(h, PATH), shown, "path after OK")


def browse_to(h, folder):
    """Opens folder in the browse dialog as a user types it into the (hidden) file name box
    and presses Enter; returns the folder line then shown."""
    h.ui("set-text", "--title", BROWSE_TITLE, "--id", 1152, "--text", folder)
    h.ui("key", "--title", BROWSE_TITLE, "--id", 1152, "--vk", 13)
    shown = lambda: h.ui("text", "--title", BROWSE_TITLE, "--id", 1088)[1].rstrip("\r\n")
    h.check(wait_until(lambda: shown().lower() == folder.lower(), 30, step=0.3), f"the browse dialog shows {shown()!r}")
    return shown()


BROWSE_TITLE = "ドライブ・フォルダの参照"


def test_japanese_paths_typed_and_browsed_and_names_shift_jis_cannot_hold_refused(h):
    demo_cd(h)
    for folder in ("表示", "한국"):
        os.makedirs(os.path.join(DRIVE_C, folder))
    start(h)
    open_install(h)
    click(h, OK)
    wait_text(h, LINE2, "「TAVREL」フォルダを作成します。")
    # A stand-in for é would make C:\cafe or C:\caf?: the path is refused instead.
    type_path(h, "C:\\caf\u00e9")
    click(h, OK)
    h.check_msgbox(h.msgbox(press="OK"), "パスが異常です。", "", icon="warning")
    h.check(not any(os.path.exists(os.path.join(DRIVE_C, n)) for n in ("caf\u00e9", "cafe", "caf?")),
            "a folder was made for the refused path")
    h.check_equal(text(h, LINE2), "「TAVREL」フォルダを作成します。", "still the destination screen")

    def open_browse():
        click(h, BROWSE)
        h.check(h.wait_window(title=BROWSE_TITLE, timeout_ms=40000) is not None, "the browse dialog did not open")
        time.sleep(0.5)

    open_browse()
    shown = browse_to(h, "c:\\表示")
    h.screenshot("browse-japanese")
    h.ui("click", "--title", BROWSE_TITLE, "--id", 1)
    h.check(h.ui("wait-gone", "--title", BROWSE_TITLE, "--timeout", 8000, timeout=40)[0] == 0,
            "OK did not close the browse dialog")
    h.check_equal(text(h, PATH), shown, "path after OK")
    # A folder Shift-JIS cannot name is refused as a bad path; the dialog stays.
    open_browse()
    browse_to(h, "c:\\한국")
    h.ui("click", "--title", BROWSE_TITLE, "--id", 1)
    h.check_msgbox(h.msgbox(press="OK"), "パスが異常です。", "", icon="warning")
    h.check(h.wait_window(title=BROWSE_TITLE, timeout_ms=1000) is not None, "the browse dialog closed on the refusal")
    h.ui("press", "--title", BROWSE_TITLE, "--button", "Cancel")
    h.check(h.ui("wait-gone", "--title", BROWSE_TITLE, "--timeout", 8000, timeout=40)[0] == 0,
            "the browse dialog stayed")
    h.check_equal(text(h, PATH), shown, "path after the refusal and Cancel")
    click(h, OK)
    wait_text(h, PATH, shown.upper() + "\\TAVREL\\STARVOY")
    h.check(os.path.isdir(os.path.join(DRIVE_C, "表示", "TAVREL")), "no TAVREL folder under 表示")
    click(h, STOP)
    wait_launcher_back(h)


def test_disk_full_during_a_copy_leaves_no_partial_file(h):
    with h.small_drive("R", "2m") as small:
        demo_cd(h, lambda t: with_big_file(0, 4096)(t).replace("RegFlag    = 1", "RegFlag    = 1\nInstSize   = 100"))
        with open(os.path.join(h.cd_dir, "DATA", "BIG.DAT"), "wb") as f:
            f.truncate(4 * 1024 * 1024)
        start(h)
        to_confirmation(h, "R:\\GAME")
        click(h, OK)
        box = h.msgbox(timeout_ms=20000)
        h.check_msgbox(box, "　　容量が足りません。\nインストールを中断します。", "", icon="warning")
        h.screenshot("disk-full")
        h.ui("msgbox", "--press", "OK")
        wait_launcher_back(h)
        target = os.path.join(small, "GAME", "TAVREL", "STARVOY")
        h.check(os.path.isdir(target), "the install folder should stay")
        h.check_equal(os.listdir(target), ["SAVE"], "what the failed install left (the copy section made SAVE)")
        h.check(not enabled(h, PLAY), "Play is enabled after a failed install")
