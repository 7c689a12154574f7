"""The script checker against the real programs: every broken script in tests/checker is
checked with tavrel-check --json, and each message the checker quotes ("shown") is read
from OSTREL.EXE (or BRINMARK.EXE) under Wine in the flow the checker names. A baseline
whose quote the program does not show fails here instead of misleading a script author.

One test per script and flow, made when this module is loaded:
test_<script>_<flow>_<n>. Run alone with: python3 tests/e2e/run.py -k test_checker_agrees
"""
import glob
import json
import os
import re
import shutil
import subprocess
import time

import harness
from harness import wait_until

CHECKER = os.path.join(harness.ROOT, "build", "native", "tavrel-check")
SCRIPTS = os.path.join(harness.ROOT, "tests", "checker")
PICTURES = (os.path.join(harness.ROOT, "dist", "cd", "SETUP.BMP"),
            os.path.join(harness.ROOT, "build", "generated", "SETUP.BMP"))
LAUNCHER = "Tavrel ｾｯﾄｱｯﾌﾟ"
FRAME = "Tavrel SETUP"
SETUP, PLAY = 1000, 1002
SUB_BUTTONS = {"SUBBTN1": 1024, "SUBBTN2": 1025}
OK, STOP, PATH, LINE2, LINE3 = 1, 2, 1011, 1006, 1007
UNINSTALL_MESSAGE = 1013
YES = "はい(&Y)"
DESTINATION = "C:\\CHECKER"


def script_bytes(path):
    """The script as the checker read it: *.inf are UTF-8 sources, *.raw the bytes."""
    with open(path, "rb") as f:
        data = f.read()
    return data if path.endswith(".raw") else harness.to_script_bytes(data.decode("utf-8"))


def checker_json(path):
    args = [CHECKER, "--json"]
    if os.path.basename(path).startswith("runner_"):
        args.append("--runner")
    if not path.endswith(".raw"):
        args.append("--utf8")
    out = subprocess.run(args + [path], capture_output=True, text=True, timeout=60)
    if out.returncode not in (0, 1):
        raise RuntimeError(f"tavrel-check failed on {path}: {out.stderr.strip()}")
    return json.loads(out.stdout)


# ---- Driving the installer into a flow -----------------------------------------------

def next_box(h, timeout_ms=8000):
    return h.msgbox(timeout_ms=timeout_ms)


def press(h, label="OK"):
    h.ui("msgbox", "--press", label)


def dismiss_until_window(h, title, timeout=25):
    """Presses OK on boxes that come first (faults the checker placed elsewhere) until
    the window shows; returns their texts."""
    passed = []
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if h.wait_window(title=title, timeout_ms=500) is not None:
            return passed
        box = h.msgbox(timeout_ms=500)
        if box is not None:
            passed.append(box["text"])
            press(h)
    h.check(False, f"the window {title!r} did not appear (boxes passed: {passed})")


def dialog_with(h, control, timeout=10):
    """A visible dialog that holds control (the install or uninstall dialog)."""
    found = []

    def look():
        for w in h.windows(visible=True):
            if w["class"] == "#32770" and h.ui("text", "--hwnd", w["hwnd"], "--id", control)[0] == 0:
                found.append(w["hwnd"])
                return True
        return False
    h.check(wait_until(look, timeout, step=0.2), f"no dialog with control {control} appeared")
    return found[0]


def click(h, hwnd, control):
    code, _ = h.ui("click", "--hwnd", hwnd, "--id", control)
    h.check(code == 0, f"cannot click {control}")


def control_text(h, hwnd, control):
    code, out = h.ui("text", "--hwnd", hwnd, "--id", control)
    return out.rstrip("\r\n") if code == 0 else None


def open_launcher(h):
    h.start()
    dismiss_until_window(h, LAUNCHER)


def press_setup(h):
    open_launcher(h)
    code, _ = h.ui("click", "--title", LAUNCHER, "--id", SETUP)
    h.check(code == 0, "cannot press Setup")


def open_install_dialog(h):
    press_setup(h)
    return dialog_with(h, PATH)


def run_install(h):
    """Welcome, a typed destination, confirmation: the install run starts."""
    # An earlier run's folder would bring the overwrite question first.
    shutil.rmtree(os.path.join(harness.PREFIX, "drive_c", DESTINATION[3:]), ignore_errors=True)
    dialog = open_install_dialog(h)
    click(h, dialog, OK)
    h.check(wait_until(lambda: control_text(h, dialog, LINE2) == "「TAVREL」フォルダを作成します。", 10),
            "the destination screen did not come")
    h.check(h.ui("set-text", "--hwnd", dialog, "--id", PATH, "--text", DESTINATION)[0] == 0,
            "cannot type the destination")
    click(h, dialog, OK)
    h.check(wait_until(lambda: control_text(h, dialog, LINE3) == "インストールを開始します。", 10),
            "the confirmation screen did not come")
    click(h, dialog, OK)


def stop_install_dialog(h):
    click(h, open_install_dialog(h), STOP)


def uninstall(h, slot):
    """-u: [INIT_UNINST] at once, [UNINSTALL] after the question, [EXIT_UNINST] when the
    dialog is cancelled."""
    h.start(args=["-u"])
    if slot == "[INIT_UNINST]":
        return
    dialog = dialog_with(h, UNINSTALL_MESSAGE, timeout=20)
    if slot == "[EXIT_UNINST]":
        click(h, dialog, STOP)
        return
    click(h, dialog, OK)
    question = next_box(h)
    h.check(question is not None, "the uninstall question did not come")
    press(h, YES)


def press_play(h, script_text):
    """Play is enabled once the product counts as installed: its folder recorded."""
    found = re.search(r"^\s*DstDir\s*=\s*(\S+)", script_text, re.M | re.I)
    if not found:
        raise harness.CheckFailed("Play needs DstDir to record an installed folder")
    code, _ = harness.run_captured(["wine", "reg", "add", r"HKCU\Software\Tavrel\Ostrel", "/v", found.group(1),
                                    "/d", "C:\\", "/f", f"/reg:{harness.PROGRAM_VIEW}"], h.env, 60)
    h.check(code == 0, "cannot record the installed folder")
    open_launcher(h)
    h.check(h.ui("click", "--title", LAUNCHER, "--id", PLAY)[0] == 0, "cannot press Play")


def press_sub_button(h, slot):
    open_launcher(h)
    h.check(h.ui("click", "--title", LAUNCHER, "--id", SUB_BUTTONS[slot])[0] == 0, f"cannot press {slot}")


def enter_flow(h, shown, script_text):
    """Brings OSTREL.EXE to the point where the flow runs the faulty line."""
    context, slot = shown["context"], shown["slot"]
    if context == "start-up":
        h.start()
    elif context == "setup":
        press_setup(h)  # [INIT_INST] runs before the install dialog shows
    elif context == "install-run":
        run_install(h)
    elif context == "install-end":
        stop_install_dialog(h)
    elif context == "uninstall":
        uninstall(h, slot)
    elif context == "play":
        press_play(h, script_text)
    elif context in ("sub1", "sub2"):
        press_sub_button(h, slot)
    else:
        raise harness.CheckFailed(f"no way to drive the flow {context!r}")


# ---- The tests -----------------------------------------------------------------------

def check_installer(h, path, shown):
    data = script_bytes(path)
    h.cd(script=data)
    for picture in PICTURES:
        if os.path.isfile(picture):
            with open(picture, "rb") as f:
                h.write("SETUP.BMP", f.read())
            break
    enter_flow(h, shown, harness.from_cp932(data))
    for expected in shown["boxes"]:
        box = next_box(h, timeout_ms=20000)
        where = f"{os.path.basename(path)} {shown['context']} {shown['slot'] or ''}".rstrip()
        h.check(box is not None, f"{where}: expected the box {expected!r}, none appeared")
        h.check_equal(box["text"], expected, f"{where}: message box")
        press(h)


def check_runner(h, path, shown):
    """BRINMARK.EXE beside an installer that waits in a PRINT box; the checker says the
    runner stops silently, so no other box may appear."""
    h.cd(exe="BRINMARK.EXE", script=script_bytes(path), script_name="COMMAND.INF")
    h.cd(script="[OPTIONS]\n[INIT]\nPRINT \"待機中\"\n")
    h.start()
    h.check(h.wait_window(title=FRAME, timeout_ms=15000) is not None, "the installer's frame did not appear")
    h.check(next_box(h, 15000) is not None, "the installer's PRINT box did not appear")
    boxes_before = [w for w in h.windows() if w["class"] == "#32770"]
    runner = h.start("BRINMARK.EXE")
    h.check(runner.wait(30) is not None, "BRINMARK.EXE did not end")
    boxes_after = [w for w in h.windows() if w["class"] == "#32770"]
    h.check_equal(len(boxes_after), len(boxes_before) + len(shown["boxes"]), "message boxes on screen")


def make_test(path, shown):
    runner = shown["program"] == "BRINMARK.EXE"

    def test(h):
        (check_runner if runner else check_installer)(h, path, shown)
    test.program = shown["program"]
    test.timeout = 150
    return test


def collect():
    if not os.path.isfile(CHECKER):
        def test_checker_agrees_needs_the_checker(h):
            harness.need_file(CHECKER)
        return {"test_checker_agrees_needs_the_checker": test_checker_agrees_needs_the_checker}
    tests = {}
    for path in sorted(glob.glob(os.path.join(SCRIPTS, "*.inf")) + glob.glob(os.path.join(SCRIPTS, "*.raw"))):
        report = checker_json(path)
        name = re.sub(r"\W", "_", os.path.splitext(os.path.basename(path))[0])
        for n, shown in enumerate(s for d in report["diagnostics"] for s in d.get("shown", [])):
            if not shown["context"]:
                continue  # no flow runs the line: nothing to compare
            flow = re.sub(r"\W", "_", shown["context"])
            tests[f"test_checker_agrees_{name}_{flow}_{n}"] = make_test(path, shown)
    return tests


globals().update(collect())
