"""OSTREL.EXE's system commands under Wine: registry keys and values under their roots,
the 95 family's registry message (Wine's per-program Windows version) against the NT
family's silence, the uninstall entry, desktop and start-menu shortcuts, and EXE
starting the demo game (command line, folders, QUIT, PATH, STOP)."""
import os
import shutil

import harness
from harness import run_captured, wait_until
from test_launcher import BLUE, make_bmp

LAUNCHER = "Tavrel ｾｯﾄｱｯﾌﾟ"
SUB1 = 1024
GAME_CLASS = "TavrelDemoGame"
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall"
SET_FAILED = "レジストリの値の設定に失敗しました。"


def reg_add(h, key, value=None, data="", view=harness.PROGRAM_VIEW):
    args = ["wine", "reg", "add", key]
    if value is not None:
        args += ["/v", value, "/d", data]
    args += ["/f", f"/reg:{view}"]
    code, _ = run_captured(args, h.env, 60)
    h.check(code == 0, f"cannot prepare the registry key {key}")


def values(listing):
    """Value names and data of one key in reg.exe's listing: {name: (type, data)}."""
    out = {}
    for line in (listing or "").splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            out[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
    return out


def run_as_windows_98(h):
    reg_add(h, r"HKCU\Software\Wine\AppDefaults\OSTREL.EXE", "Version", "win98", view=64)


def start_launcher(h, script, wait=True):
    """Starts the installer on a CD with the script; waits for the launcher unless [INIT]
    shows something first."""
    h.cd(script=script, files={"SETUP.BMP": make_bmp(640, 480, BLUE)})
    program = h.start()
    if wait:
        h.check(h.wait_window(title=LAUNCHER, timeout_ms=15000) is not None, "the launcher did not appear")
    return program


def with_game(h):
    """Puts the demo game on the CD as GAME\\GAME.EXE; its starts are logged in game.log."""
    game = harness.need_file(os.path.join(harness.WIN_BUILD, "GAME.EXE"))
    folder = os.path.join(h.cd_dir, "GAME")
    os.makedirs(folder, exist_ok=True)
    shutil.copy2(game, os.path.join(folder, "GAME.EXE"))
    log = os.path.join(h.dir, "game.log")
    h.env["TAVREL_GAME_LOG"] = "Z:" + log.replace("/", "\\")
    return log


def game_starts(h, log, count=1, timeout=15):
    """The logged starts of the game: [{cmdline, cwd, module}]."""
    def read():
        if not os.path.isfile(log):
            return []
        text = harness.from_cp932(open(log, "rb").read())
        starts = []
        for block in text.split("cmdline=[")[1:]:
            fields = {"cmdline": block.split("]\r\n", 1)[0]}
            for name in ("cwd", "module"):
                if f"{name}=[" in block:
                    fields[name] = block.split(f"{name}=[", 1)[1].split("]\r\n", 1)[0]
            starts.append(fields)
        return starts
    wait_until(lambda: len(read()) >= count and all("module" in s for s in read()), timeout)
    return read()


# ---- Registry ---------------------------------------------------------------------------

def test_registry_commands_reach_their_roots(h):
    start_launcher(h, "[OPTIONS]\n[INIT]\n"
                      "REGCREATEKEY SOFTWARE\\TavrelE2E\\Machine,1\n"
                      "REGSETSTRING SOFTWARE\\TavrelE2E\\Machine,Name,\"デモ ゲーム\",1\n"
                      "REGCREATEKEY SOFTWARE\\TavrelE2E\\User,abc\n"
                      "REGSETSTRING SOFTWARE\\TavrelE2E\\User,Ver,1.0\n"
                      "REGCREATEKEY SOFTWARE\\TavrelE2E\\Gone\n"
                      "REGDELETE SOFTWARE\\TavrelE2E\\Gone\n"
                      "REGDELETE SOFTWARE\\TavrelE2E\\Nothing,1\n"
                      "PRINT done\n", wait=False)
    h.check_msgbox(h.msgbox(press="OK", timeout_ms=15000), "done", "")
    machine = values(h.reg_query(r"HKLM\SOFTWARE\TavrelE2E\Machine"))
    h.check_equal(machine.get("Name"), ("REG_SZ", "デモ ゲーム"), "the value under HKEY_LOCAL_MACHINE")
    user = values(h.reg_query(r"HKCU\SOFTWARE\TavrelE2E\User"))
    h.check_equal(user.get("Ver"), ("REG_SZ", "1.0"), "the value under HKEY_CURRENT_USER (index abc)")
    h.check(h.reg_query(r"HKCU\SOFTWARE\TavrelE2E\Gone") is None, "REGDELETE left the key")
    h.check(h.reg_query(r"HKLM\SOFTWARE\TavrelE2E\User") is None, "index abc reached HKEY_LOCAL_MACHINE")


def check_missing_key(h, windows_98):
    if windows_98:
        run_as_windows_98(h)
    start_launcher(h, "[OPTIONS]\n[INIT]\nSUBBTN1 Reg,~[ONE],50,20\n"
                      "[ONE]\nREGSETSTRING SOFTWARE\\TavrelE2E\\Missing,V,x\nPRINT after\n")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    box = h.msgbox(press="OK")
    if windows_98:
        h.check_msgbox(box, SET_FAILED, "", icon="warning")
        h.check(h.no_msgbox(), "the section went on after the registry failure")
    else:
        h.check_msgbox(box, "after", "")
    h.check(h.reg_query(r"HKCU\SOFTWARE\TavrelE2E\Missing") is None, "REGSETSTRING created the key")


def test_missing_key_stops_the_section_with_a_message_on_windows_98(h):
    check_missing_key(h, windows_98=True)


def test_missing_key_is_ignored_silently_on_the_nt_family(h):
    check_missing_key(h, windows_98=False)


# ---- Uninstall entry ----------------------------------------------------------------------

def test_uninstall_entry_holds_two_values_and_goes_again(h):
    start_launcher(h, "[OPTIONS]\nDstDir=DEMO\n[INIT]\n"
                      "UNINSTINFO \"Demo Game\",\"C:\\TAVREL\\DEMO\\OSTREL.EXE -u\"\n"
                      "SUBBTN1 Clear,~[CLEAR],50,20\n[CLEAR]\nCLRUNINSTINFO\nPRINT cleared\n")
    entry = values(h.reg_query(UNINSTALL_KEY + r"\DEMO"))
    h.check_equal(entry, {"DisplayName": ("REG_SZ", "Demo Game"),
                          "UninstallString": ("REG_SZ", r"C:\TAVREL\DEMO\OSTREL.EXE -u")}, "the uninstall entry")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    h.check_msgbox(h.msgbox(press="OK"), "cleared", "")
    h.check(h.reg_query(UNINSTALL_KEY + r"\DEMO") is None, "CLRUNINSTINFO left the entry")


def test_empty_product_name_leaves_the_uninstall_key_alone(h):
    reg_add(h, UNINSTALL_KEY + r"\TavrelE2EOther", "DisplayName", "Other")
    start_launcher(h, "[OPTIONS]\n[INIT]\nSUBBTN1 Clear,~[CLEAR],50,20\nUNINSTINFO Demo,X.EXE\n"
                      "[CLEAR]\nCLRUNINSTINFO\n[END]\n", wait=False)
    h.check_msgbox(h.msgbox(press="OK", timeout_ms=15000), "文法エラーです。\n4行", "", icon="warning")
    h.check(h.wait_window(title=LAUNCHER, timeout_ms=15000) is not None, "the launcher did not appear")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    h.check_msgbox(h.msgbox(press="OK"), "文法エラーです。\n6行", "", icon="warning")
    h.check("DisplayName" not in values(h.reg_query(UNINSTALL_KEY)), "a value was put into the Uninstall key")
    h.check_equal(values(h.reg_query(UNINSTALL_KEY + r"\TavrelE2EOther")).get("DisplayName"),
                  ("REG_SZ", "Other"), "another program's entry")


# ---- Shortcuts ------------------------------------------------------------------------------

def user_folder(*parts):
    users = os.path.join(harness.PREFIX, "drive_c", "users")
    user = [u for u in os.listdir(users) if u != "Public"][0]
    return os.path.join(users, user, *parts)


def test_shortcuts_on_the_desktop_and_in_the_group(h):
    start_launcher(h, "[OPTIONS]\n[INIT]\n"
                      "SHORTCUTD Q:\\GAME\\GAME.EXE,\"デモ ゲーム\"\n"
                      "SHORTCUTP Q:\\GAME\\GAME.EXE,Demo\n"
                      "SHORTCUTP Q:\\GAME\\GAME.EXE,Gone\n"
                      "CLRSHORTCUT Gone\n"
                      "PRINT done\n", wait=False)
    h.check_msgbox(h.msgbox(press="OK", timeout_ms=15000), "done", "")
    desktop_link = user_folder("Desktop", "デモ ゲーム.lnk")
    h.check(os.path.isfile(desktop_link), "no desktop link")
    data = open(desktop_link, "rb").read()
    h.check(data[:4] == b"L\0\0\0", "the desktop link is no shell link")
    h.check(b"GAME.EXE" in data.upper(), "the desktop link does not name the game")
    programs = user_folder("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")
    h.check_equal(sorted(os.listdir(os.path.join(programs, "Tavrel"))), ["Demo.lnk"], "the group's links")
    h.check("TavrelTemp.tmp" not in os.listdir(programs), "TavrelTemp.tmp was left behind")


# ---- Program launch -------------------------------------------------------------------------

def test_exe_relative_path_without_arguments(h):
    log = with_game(h)
    h.env["TAVREL_GAME_QUIT"] = "500"
    start_launcher(h, "[OPTIONS]\n[INIT]\nEXE GAME\\GAME.EXE\n")
    starts = game_starts(h, log)
    h.check_equal(len(starts), 1, "games started")
    h.check_equal(starts[0]["cmdline"], " ", "the game's command line")
    h.check_equal(starts[0]["cwd"].upper(), "Q:\\GAME", "the game's current directory")
    h.check_equal(starts[0]["module"].upper(), "Q:\\GAME\\GAME.EXE", "the game's path")


def test_exe_quit_ends_the_installer_and_leaves_the_game(h):
    with_game(h)
    program = start_launcher(h, "[OPTIONS]\n[INIT]\nSUBBTN1 Go,~[GO],50,20\n"
                                "[GO]\nEXE Q:\\GAME\\GAME.EXE,-x,QUIT\nPRINT never\n")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    h.check(h.wait_window(cls=GAME_CLASS, timeout_ms=15000) is not None, "the game did not start")
    h.check(program.wait(15) is not None, "OSTREL.EXE still runs after EXE ... QUIT")
    h.check(h.wait_window(cls=GAME_CLASS, timeout_ms=500) is not None, "the game ended with the installer")


def test_exe_path_with_a_missing_value_fails_without_a_word(h):
    log = with_game(h)
    start_launcher(h, "[OPTIONS]\n[INIT]\nSUBBTN1 Go,~[GO],50,20\n"
                      "[GO]\nEXE GAME.EXE,,PATH,NoSuchValue\nPRINT never\n")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    h.check(h.no_msgbox(2000), "a message appeared for a missing PATH value")
    h.check(not os.path.isfile(log), "the game was started")


def test_exe_stop_waits_for_the_game_then_brings_the_launcher_back(h):
    # The game exits with 259, the code a running program reports: the wait must end anyway.
    with_game(h)
    start_launcher(h, "[OPTIONS]\n[INIT]\nSUBBTN1 Go,~[GO],50,20\n"
                      "[GO]\nEXE Q:\\GAME\\GAME.EXE,\"-exit 259\",STOP\nREGCREATEKEY SOFTWARE\\TavrelE2E\\Back\n")
    h.ui("click", "--title", LAUNCHER, "--id", SUB1)
    h.check(h.wait_window(cls=GAME_CLASS, timeout_ms=15000) is not None, "the game did not start")
    back = lambda: h.reg_query(r"HKCU\SOFTWARE\TavrelE2E\Back") is not None
    h.check(not wait_until(back, 2), "EXE ... STOP did not wait for the game")
    _, enabled = h.ui("enabled", "--title", LAUNCHER, "--self")
    h.check_equal(enabled.strip(), "0", "the launcher's state while the game runs")
    h.ui("close", "--class", GAME_CLASS)
    h.check(wait_until(back, 15), "the script did not go on after the game ended")
    _, enabled = h.ui("enabled", "--title", LAUNCHER, "--self")
    h.check_equal(enabled.strip(), "1", "the launcher's state after the wait")
    h.check(wait_until(lambda: h.ui("foreground", "--title", LAUNCHER)[1].strip() == "1", 5),
            "the launcher is not in front after the wait")
