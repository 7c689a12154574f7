"""OSTREL.EXE's start-up environment under Wine: the folders the script sees on both
platform families, the command line, the registered TAVREL folder, a running game, a
renamed program and the drive it starts from."""
import os
import shutil

import harness
from harness import run_captured
from test_launcher import LAUNCHER, make_bmp, BLUE

PICTURE = make_bmp(64, 48, BLUE)


def start_and_read(h, script, args=(), exe="OSTREL.EXE", files=None):
    """Starts the installer and returns the texts of the message boxes [INIT] shows."""
    all_files = {"SETUP.BMP": PICTURE}
    all_files.update(files or {})
    h.cd(script=script, files=all_files)
    if exe != "OSTREL.EXE":
        shutil.copy2(os.path.join(harness.DIST, "OSTREL.EXE"), os.path.join(h.cd_dir, exe))
    program = h.start(exe=exe, args=args)
    return program


def print_box(h):
    box = h.msgbox(press="OK")
    h.check(box is not None, "no message box from [INIT]")
    h.check_equal(box["caption"], "", "caption of a PRINT")
    return box["text"]


def user_folders():
    users = os.path.join(harness.PREFIX, "drive_c", "users")
    return [u for u in os.listdir(users) if os.path.isdir(os.path.join(users, u, "Desktop"))]


def test_nt_family_folders_come_from_the_shell(h):
    start_and_read(h, "[OPTIONS]\n[INIT]\nPRINT \"%WinDrv%%WinDir%\"\n"
                      "SHORTCUTD %SrcDrv%SETUP.BMP,デスク\nSHORTCUTP %SrcDrv%SETUP.BMP,グループ\n")
    windir = print_box(h)
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=15000) is not None, "the launcher did not appear")
    names = user_folders()
    h.check(any(windir.lower() == ("c:\\users\\%s\\" % u).lower() for u in names),
            f"%WinDir% is {windir!r}, not a profile folder holding a Desktop ({names})")
    user = windir.rstrip("\\").split("\\")[-1]
    profile = os.path.join(harness.PREFIX, "drive_c", "users", user)
    desktop = os.path.join(profile, "Desktop")
    h.check(any(n.endswith(".lnk") for n in os.listdir(desktop)), "SHORTCUTD wrote nothing on the desktop")
    group = os.path.join(profile, "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs", "Tavrel")
    h.check(os.path.isdir(group) and any(n.endswith(".lnk") for n in os.listdir(group)),
            "SHORTCUTP wrote nothing in the start menu's Tavrel group")


def test_95_family_folders_follow_the_windows_directory(h):
    code, _ = run_captured(["wine", "reg", "add", r"HKCU\Software\Wine\AppDefaults\OSTREL.EXE", "/v", "Version",
                            "/d", "win98", "/f"], h.env, 60)
    h.check(code == 0, "cannot select the 95 family for OSTREL.EXE")
    start_and_read(h, "[OPTIONS]\n[INIT]\nPRINT \"%WinDrv%%WinDir%\"\n")
    h.check_equal(print_box(h).lower(), "c:\\windows\\", "%WinDrv%%WinDir% on the 95 family")


def test_c_option_moves_the_program_and_source_folders(h):
    folder = os.path.join(harness.PREFIX, "drive_c", "SETUPX")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "TAVREL.INF"), "wb") as f:
        f.write(harness.to_script_bytes("[OPTIONS]\n[INIT]\nPRINT \"%SrcDrv%%SrcDir%\"\n"))
    with open(os.path.join(folder, "SETUP.BMP"), "wb") as f:
        f.write(PICTURE)
    try:
        start_and_read(h, "[OPTIONS]\n[INIT]\nPRINT \"wrong script\"\n", args=["-c", "C:\\SETUPX"])
        h.check_equal(print_box(h), "C:\\SETUPX\\", "source folder after -c")
        h.check(h.wait_window(title=LAUNCHER, timeout_ms=15000) is not None, "no launcher: picture not found")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def test_s_option_loads_another_script_from_the_program_folder(h):
    start_and_read(h, "[OPTIONS]\n[INIT]\nPRINT \"default\"\n", args=["/S", "OTHER.INF"],
                   files={"OTHER.INF": "[OPTIONS]\n[INIT]\nPRINT \"other\"\n"})
    h.check_equal(print_box(h), "other", "the script read with -s")


def test_renamed_program_still_finds_its_script(h):
    start_and_read(h, "[OPTIONS]\n[INIT]\nPRINT \"%SrcDrv%%SrcDir%\"\n", exe="SETUP95.EXE")
    h.check_equal(print_box(h), "Q:\\", "source folder of a renamed program")
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=15000) is not None, "the renamed program shows no launcher")


def test_started_from_the_cd_drive(h):
    start_and_read(h, "[OPTIONS]\n[INIT]\nBOOTDRIVE [CD],[FD],[HD]\n[CD]\nPRINT \"cd\"\n[FD]\nPRINT \"fd\"\n"
                      "[HD]\nPRINT \"hd\"\n")
    h.check_equal(print_box(h), "cd", "the drive kind of Q:")


def test_registered_folder_without_tavrel_reports_and_falls_back(h):
    code, _ = run_captured(["wine", "reg", "add", r"HKCU\Software\Tavrel\Ostrel", "/v", "Path", "/d", "C:\\NOPE",
                            "/f"], h.env, 60)
    h.check(code == 0, "cannot write Path")
    start_and_read(h, "[OPTIONS]\n[INIT]\nPRINT \"%TavrelDrv%%TavrelDir%\"\n")
    box = h.msgbox(press="OK")
    h.check_msgbox(box, "   レジストリに記述されたドライブには、\nTAVRELフォルダは見つかりませんでした。", "",
                   icon="warning")
    h.check_equal(print_box(h).upper(), "C:\\TAVREL\\", "the Tavrel folder after the fallback")


def test_registered_tavrel_folder_is_used_silently(h):
    os.makedirs(os.path.join(harness.PREFIX, "drive_c", "GAMES", "TAVREL"), exist_ok=True)
    code, _ = run_captured(["wine", "reg", "add", r"HKCU\Software\Tavrel\Ostrel", "/v", "Path", "/d",
                            "C:\\GAMES", "/f"], h.env, 60)
    h.check(code == 0, "cannot write Path")
    try:
        start_and_read(h, "[OPTIONS]\n[INIT]\nPRINT \"%TavrelDrv%%TavrelDir%\"\n")
        h.check_equal(print_box(h), "C:\\GAMES\\TAVREL\\", "the registered Tavrel folder")
    finally:
        shutil.rmtree(os.path.join(harness.PREFIX, "drive_c", "GAMES"), ignore_errors=True)


def test_running_game_is_shown_and_the_installer_ends(h):
    game = harness.need_file(os.path.join(harness.WIN_BUILD, "GAME.EXE"))
    h.cd(script="[OPTIONS]\nClass = TavrelDemoGame\n[INIT]\nPRINT \"not reached\"\n",
         files={"SETUP.BMP": PICTURE, "GAME.EXE": open(game, "rb").read()})
    h.start(exe="GAME.EXE")
    h.check(h.wait_window(cls="TavrelDemoGame", timeout_ms=15000) is not None, "the game did not start")
    program = h.start()
    h.check(program.wait(15) is not None, "the installer did not end while the game runs")
    h.check(h.no_msgbox(), "a message appeared although the game runs")
