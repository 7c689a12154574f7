"""BRINMARK.EXE under Wine: alone it only shows its notice; while an installer runs it
carries out [START] of its script silently, with the roots swapped against the installer's,
started by the installer's EXE command or directly."""
import os

from harness import to_script_bytes
from test_system import reg_add

NOTICE = "このアプリケーションは、\nアンインストール時に使用します。\n"
NOTICE_CAPTION = "Tavrel Setup追加コマンド"
RUNNER_KEY = r"HKLM\SOFTWARE\Tavrel\Setup"


def installer_waiting_in_init(h, init_lines=""):
    """Starts OSTREL.EXE whose [INIT] ends in a PRINT, so its frame window stays up."""
    h.cd(script="[OPTIONS]\n[INIT]\n" + init_lines + "PRINT \"待機中\"\n")
    installer = h.start()
    h.check(h.wait_window(title="Tavrel SETUP", timeout_ms=15000) is not None, "the installer's frame window did not appear")
    return installer


def run_runner(h, args=(), timeout=30):
    runner = h.start("BRINMARK.EXE", args)
    h.check(runner.wait(timeout) is not None, "BRINMARK.EXE did not end")
    return runner


def test_alone_it_shows_only_its_notice(h):
    h.cd(exe="BRINMARK.EXE", script="[START]\nREGCREATEKEY SOFTWARE\\TavrelRunnerAlone\n", script_name="COMMAND.INF")
    runner = h.start("BRINMARK.EXE")
    box = h.msgbox(press="OK")
    h.check_msgbox(box, NOTICE, NOTICE_CAPTION, icon="none", buttons=["OK"])
    h.check(runner.wait(15) is not None, "BRINMARK.EXE still runs after its notice")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerAlone") is None, "the script ran without an installer")
    h.check(h.reg_query(RUNNER_KEY) is None, "the runner key was made without an installer")


def test_runs_start_section_silently_while_an_installer_runs(h):
    reg_add(h, r"HKLM\SOFTWARE\TavrelRunnerOld")
    reg_add(h, r"HKCU\SOFTWARE\TavrelRunnerOldUser")
    os.makedirs(os.path.join(h.env["WINEPREFIX"], "drive_c", "TavrelRunnerLinks"), exist_ok=True)
    link = os.path.join(h.env["WINEPREFIX"], "drive_c", "TavrelRunnerLinks", "Game.lnk")
    with open(link, "wb") as f:
        f.write(b"L")
    h.cd(exe="BRINMARK.EXE")  # beside the installer on the same CD
    h.write("COMMAND.INF", to_script_bytes(
        "[START]\n"
        "PRINT \"表示されない\"\n"
        "REGCREATEKEY SOFTWARE\\TavrelRunnerMachine\n"
        "REGCREATEKEY SOFTWARE\\TavrelRunnerUser, 1\n"
        "REGSETSTRING SOFTWARE\\TavrelRunnerMachine, Note, \"消去 済み\"\n"
        "REGDELETE SOFTWARE\\TavrelRunnerOld\n"
        "REGDELETE SOFTWARE\\TavrelRunnerOldUser, 1\n"
        "CLRSHORTCUTA Game, %WinDrv%TavrelRunnerLinks\n"
        "YESNO \"質問\", YES, NO\n"
        "YES\n"
        "REGCREATEKEY SOFTWARE\\TavrelRunnerYes\n"
        "[X]\n"
        "NO\n"
        "REGCREATEKEY SOFTWARE\\TavrelRunnerNo\n"
        "REGCREATEKEY \"SOFTWARE\\%Title%\"\n"
        "REGCREATEKEY SOFTWARE\\TavrelRunnerAfterTitle\n"))
    installer = installer_waiting_in_init(h)
    h.msgbox()  # the installer's own PRINT stays open meanwhile
    run_runner(h)
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerMachine") is not None, "REGCREATEKEY without an index did not use HKLM")
    h.check(h.reg_query(r"HKCU\SOFTWARE\TavrelRunnerUser") is not None, "REGCREATEKEY with index 1 did not use HKCU")
    note = h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerMachine", "Note") or ""
    h.check("消去 済み" in note, f"REGSETSTRING value not found: {note!r}")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerOld") is None, "REGDELETE without an index did not use HKLM")
    h.check(h.reg_query(r"HKCU\SOFTWARE\TavrelRunnerOldUser") is None, "REGDELETE with index 1 did not use HKCU")
    h.check(not os.path.exists(link), "CLRSHORTCUTA did not remove the link")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerNo") is not None, "YESNO did not take the no label")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerYes") is None, "YESNO took the yes label")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerAfterTitle") is None, "%Title% did not end the run")
    display_name = h.reg_query(RUNNER_KEY, "DisplayName") or ""
    h.check("Setup" in display_name, f"the runner key has no DisplayName: {display_name!r}")
    # Only the installer's own box is on screen: the runner showed nothing.
    boxes = [w for w in h.windows() if w["class"] == "#32770"]
    h.check_equal(len(boxes), 1, "message boxes on screen")
    h.check(installer.running(), "the installer ended")


def test_started_by_the_installers_exe_command(h):
    h.cd(exe="BRINMARK.EXE")
    h.write("CLEAN.INF", to_script_bytes("[START]\nREGCREATEKEY SOFTWARE\\TavrelRunnerFromExe\n"))
    installer_waiting_in_init(h, "EXE %SrcDrv%%SrcDir%BRINMARK.EXE, \"-sCLEAN.INF\", STOP\n")
    box = h.msgbox(timeout_ms=20000)
    h.check_msgbox(box, "待機中", "")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerFromExe") is not None, "the runner started by EXE did not run CLEAN.INF")


def test_script_name_options_and_size_limit(h):
    h.cd(exe="BRINMARK.EXE")
    body = to_script_bytes("[START]\nREGCREATEKEY SOFTWARE\\TavrelRunnerBig\n")
    h.write("BIG.INF", body + b";" * (10001 - len(body)))
    h.write("EXACT.INF", to_script_bytes("[START]\nREGCREATEKEY SOFTWARE\\TavrelRunnerExact\n").ljust(10000, b";"))
    h.write("COMMA.INF", to_script_bytes("[START]\nREGCREATEKEY SOFTWARE\\TavrelRunnerComma\n"))
    h.write("後片付け.INF", to_script_bytes("[START]\nREGCREATEKEY SOFTWARE\\TavrelRunner片付け\n"))
    installer_waiting_in_init(h)
    h.msgbox()
    run_runner(h, ["/S", "BIG.INF"])
    run_runner(h, ["-sEXACT.INF"])
    run_runner(h, ["/S", "COMMA.INF,ignored"])
    run_runner(h, ["-s", "後片付け.INF"])
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerBig") is None, "a 10001-byte script ran")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerExact") is not None, "a 10000-byte script did not run")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunnerComma") is not None, "the name before the comma was not used")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelRunner片付け") is not None, "the Japanese script name was not found")
