"""The demo CD as the build lays it out, through its whole life under Wine: the launcher
with its read-me button, an install into C:\\TAVREL\\STARVOY, Play, and the uninstall."""
import os

import harness
from harness import wait_until
from test_launcher import LAUNCHER, SETUP, PLAY, UNINSTALL, SUB1, buttons

INSTALL_TITLE = "スターボヤージュ デモ版  インストール  ユーティリティ"
DEMO = os.path.join(harness.ROOT, "demo", "cd")
GAME_KEY = r"HKLM\SOFTWARE\Tavrel\STARVOY"


def lay_out_demo_cd(h):
    picture = os.path.join(harness.ROOT, "build", "generated", "SETUP.BMP")
    game = os.path.join(harness.WIN_BUILD, "GAME.EXE")
    runner = os.path.join(harness.DIST, "BRINMARK.EXE")
    for path in (picture, game, runner):
        harness.need_file(path)
    files = {"SETUP.BMP": open(picture, "rb").read(), "DATA/GAME.EXE": open(game, "rb").read(),
             "BRINMARK.EXE": open(runner, "rb").read(),
             "COMMAND.INF": open(os.path.join(DEMO, "COMMAND.INF"), encoding="utf-8").read()}
    for name in os.listdir(os.path.join(DEMO, "DATA")):
        files["DATA/" + name] = open(os.path.join(DEMO, "DATA", name), "rb").read()
    script = open(os.path.join(DEMO, "TAVREL.INF"), encoding="utf-8").read()
    h.cd(script=script, files=files)


def text_of(h, control_id, title=INSTALL_TITLE):
    code, text = h.ui("text", "--title", title, "--id", control_id)
    return text.strip() if code == 0 else None


def test_demo_cd_installs_plays_and_uninstalls(h):
    lay_out_demo_cd(h)
    program = h.start()
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=15000) is not None, "the demo launcher did not appear")
    b = buttons(h)
    h.check_equal(b[SUB1]["text"], "はじめにお読みください", "the read-me button")
    h.check(not b[PLAY]["enabled"] and not b[UNINSTALL]["enabled"], "Play or Uninstall enabled before the install")
    h.screenshot("demo-launcher")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    h.check_msgbox(h.msgbox(press="OK"), "「インストール」でゲームをコピーし、「ゲーム開始」で遊べます。", "")

    # Install with the offered destination.
    h.ui("click", "--title", LAUNCHER, "--id", SETUP)
    h.check(h.wait_window(title=INSTALL_TITLE, timeout_ms=10000) is not None, "the install dialog did not appear")
    h.ui("click", "--title", INSTALL_TITLE, "--id", 1)  # welcome
    h.check(wait_until(lambda: text_of(h, 1) == "決定", 5), "no destination screen")
    h.ui("click", "--title", INSTALL_TITLE, "--id", 1)  # the offered drive
    h.check(wait_until(lambda: (text_of(h, 1011) or "").upper() == "C:\\TAVREL\\STARVOY", 5),
            f"confirmation shows {text_of(h, 1011)!r}")
    h.ui("click", "--title", INSTALL_TITLE, "--id", 1)  # start
    h.check(wait_until(lambda: text_of(h, 2) == "終了", 30), "the install did not finish")
    installed = os.path.join(harness.PREFIX, "drive_c", "TAVREL", "STARVOY")
    for name in ("GAME.EXE", "STAGE1.DAT", "STAGE2.DAT", "README.TXT", "SAVE"):
        h.check(os.path.exists(os.path.join(installed, name)), f"{name} was not installed")
    h.check(h.reg_query(GAME_KEY, "Version") is not None, "the game's settings key was not written")
    h.ui("click", "--title", INSTALL_TITLE, "--id", 2)
    h.check(wait_until(lambda: buttons(h)[PLAY]["enabled"], 10), "Play stays greyed after the install")
    h.check(buttons(h)[UNINSTALL]["enabled"], "Uninstall stays greyed after the install")

    # Play starts the installed game and ends the installer.
    h.ui("click", "--title", LAUNCHER, "--id", PLAY)
    h.check(h.wait_window(cls="TavrelDemoGame", timeout_ms=15000) is not None, "Play did not start the game")
    h.check(program.wait(15) is not None, "the installer still runs after Play")
    h.ui("close", "--class", "TavrelDemoGame")
    h.check(wait_until(lambda: h.wait_window(cls="TavrelDemoGame", timeout_ms=200) is None, 10), "the game stays")

    # Uninstall removes what the install made.
    program = h.start()
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=15000) is not None, "the launcher did not come back")
    h.ui("click", "--title", LAUNCHER, "--id", UNINSTALL)
    dialog = None
    for _ in range(50):
        dialog = next((w for w in h.windows() if w["class"] == "#32770" and w["title"] == ""), None)
        if dialog:
            break
    h.check(dialog is not None, "the uninstall dialog did not appear")
    h.ui("click", "--hwnd", dialog["hwnd"], "--id", 1)
    h.check(h.msgbox(press=harness.YES) is not None, "no confirmation question")
    h.check_msgbox(h.msgbox(press="OK"), "アンインストールが終了しました。", "")
    h.check(not os.path.exists(installed), "the installed folder is still there")
    # The command runner, started by [UNINSTALL], removed the game's settings key.
    h.check(h.reg_query(GAME_KEY) is None, "BRINMARK.EXE did not remove the game's settings key")
    h.check(wait_until(lambda: not buttons(h)[PLAY]["enabled"], 5), "Play enabled after the uninstall")
    h.check(program.running(), "the installer ended after the uninstall")
