"""The dialogs scripts call up in OSTREL.EXE under Wine: the DirectX notice of WARNING,
with and without the DirectX uninstall entry, and a three-item MENU."""
import harness
from harness import run_captured, wait_until
from test_install import LAUNCHER, click, start
from test_uninstall import dialog_text, find_dialog

SUB1 = 1024
NOTICE_LINES = (1027, 1028, 1029, 1030)
NOTICE_SETUP, NOTICE_STOP = 1034, 1031
DIRECTX_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\DirectXDrivers"


def notice_cd(h):
    h.cd(script="[OPTIONS]\n[INIT]\nSUBBTN1 DX,~[DX],50,40\n"
                "[DX]\nWARNING GO,STOP\nGO\nPRINT proceed\n[END1]\nSTOP\nPRINT stopped\n",
         files={"SETUP.BMP": open(harness.os.path.join(harness.ROOT, "build", "generated", "SETUP.BMP"), "rb").read()})


def enabled_self(h, hwnd, control):
    code, out = h.ui("enabled", "--hwnd", hwnd, "--id", control, "--self")
    return code == 0 and out.strip() == "1"


def test_warning_without_directx_offers_the_setup(h):
    notice_cd(h)
    start(h)
    click(h, SUB1, LAUNCHER)
    hwnd = find_dialog(h, NOTICE_SETUP)
    h.check_equal(dialog_text(h, hwnd, 1027), "最初はゲーム本体のみをセットアップして実行してみてください。", "line 1")
    h.check_equal(dialog_text(h, hwnd, 1030), "DirectX2のセットアップをする場合は、本製品マニュアルを必ずご覧ください。",
                  "line 4")
    h.check(enabled_self(h, hwnd, NOTICE_SETUP), "セットアップを行う is greyed")
    h.screenshot("notice")
    h.ui("click", "--hwnd", hwnd, "--id", NOTICE_SETUP)
    h.check_msgbox(h.msgbox(), "proceed", "")
    h.ui("msgbox", "--press", "OK")


def test_warning_with_directx_allows_only_stop_and_enter_stops(h):
    code, _ = run_captured(["wine", "reg", "add", DIRECTX_KEY, "/f", f"/reg:{harness.PROGRAM_VIEW}"],
                           h.env, 60)
    h.check(code == 0, "cannot add the DirectX entry")
    notice_cd(h)
    start(h)
    click(h, SUB1, LAUNCHER)
    hwnd = find_dialog(h, NOTICE_SETUP)
    texts = [dialog_text(h, hwnd, c) for c in NOTICE_LINES]
    h.check_equal(texts, ["", "すでに新しいバージョンの", "DirectXがインストールされています。", ""], "notice lines")
    h.check(not enabled_self(h, hwnd, NOTICE_SETUP), "セットアップを行う can be chosen")
    h.screenshot("notice-directx")
    h.ui("key", "--hwnd", hwnd, "--vk", 13)
    h.check_msgbox(h.msgbox(), "stopped", "")
    h.ui("msgbox", "--press", "OK")


def test_three_item_menu(h):
    h.cd(script="[OPTIONS]\n[INIT]\nSUBBTN1 MENU,~[M],50,40\n"
                "[M]\nMENUTITLE \"行き先\"\nMENUITEM \"一番目\",L1\nMENUITEMD \"二番目\",L2\nMENUITEM \"三番目\",L3\nMENU\n"
                "L1\nPRINT one\n[E1]\nL2\nPRINT two\n[E2]\nL3\nPRINT three\n",
         files={"SETUP.BMP": open(harness.os.path.join(harness.ROOT, "build", "generated", "SETUP.BMP"), "rb").read()})
    start(h)
    click(h, SUB1, LAUNCHER)
    hwnd = find_dialog(h, 1022)
    time.sleep(0.5)
    h.check_equal(dialog_text(h, hwnd, 1022), "行き先", "group title")
    shown = []
    for control in range(1015, 1020):
        code, out = h.ui("visible", "--hwnd", hwnd, "--id", control)
        shown.append(out.strip() == "1")
    h.check_equal(shown, [True, True, True, False, False], "visible items")
    tops = [h.ui_json("rect", "--hwnd", hwnd, "--id", c)["top"] for c in (1015, 1016, 1017)]
    h.check(tops[1] - tops[0] == tops[2] - tops[1] > 0, f"items not evenly spread: {tops}")
    checks = [h.ui("check", "--hwnd", hwnd, "--id", c)[1].strip() for c in (1015, 1016, 1017)]
    h.check_equal(checks, ["0", "1", "0"], "checked item")
    h.screenshot("menu")
    h.ui("click", "--hwnd", hwnd, "--id", 1017)
    time.sleep(0.3)
    h.ui("click", "--hwnd", hwnd, "--id", 1)
    h.check_msgbox(h.msgbox(), "three", "")
    h.ui("msgbox", "--press", "OK")


import time  # noqa: E402
