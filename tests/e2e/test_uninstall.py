"""OSTREL.EXE's uninstall flow under Wine on the demo CD: from the launcher after a real
install (texts, question, sections run, registry value gone, Play and Uninstall greyed,
Exit the default) and with -u without the launcher."""
import json
import os
import time

import harness
from harness import wait_until
from test_install import (DRIVE_C, EXIT, LAUNCHER, OK, OSTREL_KEY, PLAY, STOP, UNINSTALL, YES, NO, click,
                          demo_cd, enabled, reg_value, start, to_confirmation, wait_launcher_back, wait_text)

FOLDER, MESSAGE = 1014, 1013
BS_DEFPUSHBUTTON = 1


def find_dialog(h, control, timeout=10):
    """The handle of a visible dialog without a title that holds control."""
    found = []

    def look():
        for w in h.windows(visible=True):
            if w["class"] == "#32770" and w["title"] == "":
                code, _ = h.ui("text", "--hwnd", w["hwnd"], "--id", control)
                if code == 0:
                    found.append(w["hwnd"])
                    return True
        return False
    h.check(wait_until(look, timeout, step=0.2), f"no dialog with control {control}")
    return found[0]


def dialog_text(h, hwnd, control):
    code, out = h.ui("text", "--hwnd", hwnd, "--id", control)
    return out.rstrip("\r\n") if code == 0 else None


def install_demo(h, path="C:\\GAMES"):
    to_confirmation(h, path)
    click(h, OK)
    wait_text(h, STOP, "終了", timeout=30)
    click(h, STOP)
    wait_launcher_back(h)


def confirm_uninstall(h, hwnd):
    h.ui("click", "--hwnd", hwnd, "--id", 1)
    h.check_msgbox(h.msgbox(), "本当にアンインストールしても\n　　　よろしいですか？", "", buttons=[YES, NO])
    h.ui("msgbox", "--press", YES)
    box = h.msgbox(timeout_ms=15000)
    h.check_msgbox(box, "アンインストールが終了しました。", "")
    h.ui("msgbox", "--press", "OK")


def test_uninstall_from_the_launcher_after_an_install(h):
    demo_cd(h)
    start(h)
    install_demo(h)
    target = os.path.join(DRIVE_C, "GAMES", "TAVREL", "STARVOY")
    h.check(os.path.isfile(os.path.join(target, "GAME.EXE")), "the install did not copy")
    click(h, UNINSTALL, LAUNCHER)
    hwnd = find_dialog(h, MESSAGE)
    h.check_equal(dialog_text(h, hwnd, FOLDER), "C:\\GAMES\\TAVREL\\STARVOY", "folder line")
    h.check_equal(dialog_text(h, hwnd, MESSAGE), "以下のフォルダの中身を全て削除します。", "message line")
    h.screenshot("uninstall")
    confirm_uninstall(h, hwnd)
    h.check(h.ui("wait-gone", "--hwnd", hwnd, "--timeout", 10000, timeout=40)[0] == 0, "the dialog stayed")
    h.check(not os.path.exists(target), "the product folder is still there")
    h.check(reg_value(h, OSTREL_KEY, "STARVOY") is None, "the registry value is still there")
    entry = h.reg_query(r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\STARVOY")
    h.check(entry is None, "the uninstall entry is still there")
    links = [f for _, _, files in os.walk(os.path.join(DRIVE_C, "users")) for f in files if f.endswith(".lnk")]
    h.check("スターボヤージュ デモ版.lnk" not in links, f"the program's link is still there: {links}")
    h.check(wait_until(lambda: not enabled(h, PLAY) and not enabled(h, UNINSTALL), 5),
            "Play or Uninstall is still enabled")
    style = h.ui_json("style", "--title", LAUNCHER, "--id", EXIT)
    h.check(int(style["style"], 16) & 0xF == BS_DEFPUSHBUTTON, "Exit is not the default button")
    h.screenshot("launcher-after-uninstall")


def test_uninstall_cancel_changes_nothing(h):
    demo_cd(h)
    start(h)
    install_demo(h)
    click(h, UNINSTALL, LAUNCHER)
    hwnd = find_dialog(h, MESSAGE)
    h.ui("click", "--hwnd", hwnd, "--id", 2)
    h.check(h.ui("wait-gone", "--hwnd", hwnd, "--timeout", 10000, timeout=40)[0] == 0, "the dialog stayed")
    h.check(h.no_msgbox(), "cancel asked something")
    h.check(os.path.isdir(os.path.join(DRIVE_C, "GAMES", "TAVREL", "STARVOY")), "cancel removed the product")
    h.check(enabled(h, PLAY) and enabled(h, UNINSTALL), "Play or Uninstall was greyed by a cancel")


def test_uninstall_only_switch_runs_without_the_launcher(h):
    demo_cd(h)
    start(h)
    install_demo(h)
    h.ui("click", "--title", LAUNCHER, "--id", EXIT)
    h.check(h.programs[0].wait(15) is not None, "the first installer did not end")
    program = h.start(args=("-u",))
    hwnd = find_dialog(h, MESSAGE, timeout=20)
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=300) is None, "the launcher shows with -u")
    confirm_uninstall(h, hwnd)
    h.check(program.wait(15) is not None, "OSTREL.EXE -u did not end")
    h.check(not os.path.exists(os.path.join(DRIVE_C, "GAMES", "TAVREL", "STARVOY")), "nothing was removed")
    h.check(reg_value(h, OSTREL_KEY, "STARVOY") is None, "the registry value is still there")


def test_a_japanese_install_folder_keeps_its_names_from_install_to_uninstall(h):
    """Folders, files, links and registry texts with Japanese carry their Unicode names and
    texts (checked on the Linux side and as reg.exe reads them), whatever the code page."""
    def edit(text):
        text = text.replace("[COPY]\n", "[COPY]\nMKDIR %DstDrv%%DstDir%保存\n", 1)
        text = text.replace("[INSTALL]\n", "[INSTALL]\nCOPY %SrcDrv%%SrcDir%説明書.TXT,%DstDrv%%DstDir%\n", 1)
        return text.replace("DELETE %InstDrv%%InstTavDir%STARVOY\\*.*\n",
                            "RMDIR %InstDrv%%InstTavDir%STARVOY\\保存\nDELETE %InstDrv%%InstTavDir%STARVOY\\*.*\n", 1)
    demo_cd(h, edit, extra={"DATA/説明書.TXT": b"manual\r\n"})
    start(h)
    install_demo(h, "C:\\ゲーム\\デモ")
    target = os.path.join(DRIVE_C, "ゲーム", "デモ", "TAVREL", "STARVOY")
    h.check_equal(sorted(os.listdir(target)), ["GAME.EXE", "README.TXT", "SAVE", "STAGE1.DAT", "STAGE2.DAT",
                                               "保存", "説明書.TXT"], "the installed folder")
    h.check_equal(reg_value(h, OSTREL_KEY, "Path"), "C:\\ゲーム\\デモ", "registry value Path")
    h.check_equal(reg_value(h, OSTREL_KEY, "STARVOY"), "C:\\ゲーム\\デモ\\TAVREL\\STARVOY", "registry value STARVOY")
    h.check_equal(reg_value(h, r"HKLM\SOFTWARE\Tavrel\STARVOY", "Version"), "1.00 デモ", "the game's Version")
    entry = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\STARVOY"
    h.check_equal(reg_value(h, entry, "DisplayName"), "スターボヤージュ デモ版", "the uninstall entry's name")
    h.check((reg_value(h, entry, "UninstallString") or "").endswith("OSTREL.EXE -u"), "the uninstall command")
    links = sorted(f for _, _, files in os.walk(os.path.join(DRIVE_C, "users")) for f in files if f.endswith(".lnk"))
    h.check_equal(links, ["はじめにお読みください.lnk", "スターボヤージュ デモ版.lnk"], "the program group's links")

    click(h, UNINSTALL, LAUNCHER)
    hwnd = find_dialog(h, MESSAGE)
    h.check_equal(dialog_text(h, hwnd, FOLDER), "C:\\ゲーム\\デモ\\TAVREL\\STARVOY", "folder line")
    confirm_uninstall(h, hwnd)
    h.check(not os.path.exists(target), "the product folder is still there")
    h.check(reg_value(h, entry, "DisplayName") is None, "the uninstall entry is still there")
    links = [f for _, _, files in os.walk(os.path.join(DRIVE_C, "users")) for f in files if f.endswith(".lnk")]
    h.check_equal(links, [], "links left after the uninstall")
