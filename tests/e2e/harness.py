"""End-to-end harness: runs the real programs under Wine and drives them with UIAUTO.EXE.

Every test gets a fresh scratch CD folder mapped to the CD-ROM drive Q:, the Wine
registry as it was when the prefix was made, an empty Desktop, and a killed wineserver
when it ends, so a hung program never outlives its test.
"""
import contextlib
import json
import os
import re
import shutil
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def _wine_setting():
    """What tools/wine_env.sh decided for this machine: the Wine it runs, the build of the
    programs that Wine can run, and the registry view those programs see."""
    names = ("TAVREL_WINE_BITS", "TAVREL_WIN_BUILD", "TAVREL_WIN_DIST", "TAVREL_PROGRAM_VIEW",
             "PATH")
    script = "source tools/wine_env.sh 2>/dev/null; " + "; ".join(
        f'printf "%s\\n" "${{{n}:-}}"' for n in names)
    out = subprocess.run(["bash", "-c", script], cwd=ROOT, capture_output=True, text=True,
                         env=dict(os.environ, LC_ALL="C.UTF-8"))
    return dict(zip(names, out.stdout.split("\n")))


WINE = _wine_setting()
WINE_BITS = int(WINE["TAVREL_WINE_BITS"] or 32)
WIN_BUILD = WINE["TAVREL_WIN_BUILD"] or os.path.join(ROOT, "build", "win32")
DIST = os.environ.get("TAVREL_E2E_DIST", WINE["TAVREL_WIN_DIST"] or os.path.join(ROOT, "dist"))
# The registry view the programs under test see: 32 for the shipped i686 build (its
# HKLM\Software keys live below WOW6432Node), 64 for the x86_64 test build.
PROGRAM_VIEW = int(WINE["TAVREL_PROGRAM_VIEW"] or 32)
UIAUTO = os.path.join(WIN_BUILD, "UIAUTO.EXE")
WORK = os.path.join(ROOT, "build", "e2e")
ARTIFACTS = os.path.join(ROOT, "build", "artifacts", "e2e")
PREFIX = os.environ.get("TAVREL_E2E_PREFIX", os.path.expanduser("~/.cache/tavrel-wine-e2e"))
# Wine takes each process's ANSI code page from its Unix locale: Japanese (932) as the
# programs were made for, or the second locale (1252, a Western Windows), which a run
# chooses with use_locale() before it loads the tests. Each locale has its own prefix.
FIRST_LOCALE = "ja_JP.UTF-8"
SECOND_LOCALE = "C.UTF-8"
LOCALE = FIRST_LOCALE
# A message box's Yes and No: Wine's own labels, in the language of the locale.
YES, NO = "はい(&Y)", "いいえ(&N)"
CD_LETTER = "q"
REGISTRY_FILES = ("system.reg", "user.reg", "userdef.reg")


def use_locale(locale):
    """Runs the programs under locale, in the prefix, work and artifact folders of its own."""
    global LOCALE, PREFIX, WORK, ARTIFACTS, YES, NO
    if locale == LOCALE:
        return
    YES, NO = "&Yes", "&No"
    suffix = "-" + locale.lower().replace(".utf-8", "-utf8").replace(".", "-").replace("_", "-")
    LOCALE = locale
    PREFIX += suffix
    WORK += suffix
    ARTIFACTS += suffix


class CheckFailed(AssertionError):
    pass


def need_file(path):
    """path, which a test needs from the build; a missing one fails the test."""
    if not os.path.isfile(path):
        raise CheckFailed(f"{os.path.relpath(path, ROOT)} is missing (did its build fail?)")
    return path


def to_script_bytes(text):
    """A script written in UTF-8 in a test, as the programs read it: CP932 with CR LF."""
    if isinstance(text, bytes):
        return text
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    out = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=text.encode("utf-8"),
                         capture_output=True, check=True)
    return out.stdout


def from_cp932(data):
    out = subprocess.run(["iconv", "-f", "CP932", "-t", "UTF-8"], input=data, capture_output=True)
    return out.stdout.decode("utf-8", errors="replace")


def run_captured(args, env, timeout, cwd=None):
    """Runs a Wine command; returns (exit code, stdout bytes).

    Output goes through a file, not a pipe: the first Wine process of a session starts
    the wineserver and Wine's services, which inherit a pipe and keep it open for long
    after the command itself has ended.
    """
    with tempfile.TemporaryFile() as out:
        code = subprocess.run(args, env=env, stdout=out, stderr=subprocess.DEVNULL,
                              stdin=subprocess.DEVNULL, timeout=timeout, cwd=cwd).returncode
        out.seek(0)
        return code, out.read()


def wine_environment(display):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": PREFIX,
        "LC_ALL": LOCALE,
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=",
        "DISPLAY": display,
        "PATH": WINE["PATH"] or env["PATH"],
    })
    if WINE_BITS == 64:
        env["WINELOADER"] = "/usr/lib/wine/wine64"
    return env


def prepare_prefix():
    """Makes the end-to-end prefix (once) and its pristine registry copy; returns DISPLAY."""
    script = ('source tools/wine_env.sh && tavrel_ensure_display >&2 && '
              'tavrel_make_prefix >&2 && echo "$DISPLAY"')
    env = dict(os.environ, TAVREL_WINEPREFIX=PREFIX, TAVREL_LOCALE=LOCALE)
    out = subprocess.run(["bash", "-c", script], cwd=ROOT, env=env, capture_output=True,
                         text=True, timeout=300)
    if out.returncode != 0:
        raise RuntimeError("cannot prepare the Wine prefix:\n" + out.stderr)
    display = out.stdout.strip().splitlines()[-1]
    pristine = os.path.join(PREFIX, ".pristine")
    marker = os.path.join(PREFIX, ".tavrel-prefix")
    stamp = os.path.join(pristine, "stamp")
    if not os.path.isfile(stamp) or open(stamp).read() != open(marker).read():
        kill_wineserver(display)
        shutil.rmtree(pristine, ignore_errors=True)
        os.makedirs(pristine)
        for name in REGISTRY_FILES:
            shutil.copy2(os.path.join(PREFIX, name), pristine)
        shutil.copy2(marker, stamp)
    return display


def kill_wineserver(display):
    env = wine_environment(display)
    for flag in ("-k", "-w"):
        subprocess.run(["wineserver", flag], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)


def reset_prefix():
    """Back to the first state: registry, Desktop, start menu group, the Tavrel folder."""
    pristine = os.path.join(PREFIX, ".pristine")
    for name in REGISTRY_FILES:
        shutil.copy2(os.path.join(pristine, name), os.path.join(PREFIX, name))
    users = os.path.join(PREFIX, "drive_c", "users")
    for user in os.listdir(users):
        desktop = os.path.join(users, user, "Desktop")
        if os.path.isdir(desktop) and not os.path.islink(desktop):
            for entry in os.listdir(desktop):
                path = os.path.join(desktop, entry)
                shutil.rmtree(path) if os.path.isdir(path) else os.remove(path)
        group = os.path.join(users, user, "AppData", "Roaming", "Microsoft", "Windows",
                             "Start Menu", "Programs", "Tavrel")
        shutil.rmtree(group, ignore_errors=True)
    shutil.rmtree(os.path.join(PREFIX, "drive_c", "TAVREL"), ignore_errors=True)


class Program:
    """A program started under Wine."""

    def __init__(self, popen, name, log_path):
        self.popen = popen
        self.name = name
        self.log_path = log_path

    def wait(self, timeout):
        """Exit code, or None when still running after timeout seconds."""
        try:
            return self.popen.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def running(self):
        return self.popen.poll() is None


class Harness:
    def __init__(self, test_name, display):
        self.name = test_name
        self.display = display
        self.env = wine_environment(display)
        self.dir = os.path.join(WORK, test_name)
        self.cd_dir = os.path.join(self.dir, "cd")
        self.programs = []
        self.shots = []
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.cd_dir)
        os.makedirs(ARTIFACTS, exist_ok=True)
        link = os.path.join(PREFIX, "dosdevices", CD_LETTER + ":")
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(self.cd_dir, link)

    # ---- Set-up ----------------------------------------------------------------------
    @staticmethod
    def require(exe):
        need_file(UIAUTO)
        return need_file(os.path.join(DIST, exe))

    def cd(self, script=None, exe="OSTREL.EXE", script_name="TAVREL.INF", files=None):
        """Fills the scratch CD: the program, its script (UTF-8 text converted) and files."""
        shutil.copy2(self.require(exe), os.path.join(self.cd_dir, exe))
        if script is not None:
            self.write(script_name, to_script_bytes(script))
        for name, data in (files or {}).items():
            self.write(name, data if isinstance(data, bytes) else to_script_bytes(data))
        return self.cd_dir

    def write(self, relative, data):
        path = os.path.join(self.cd_dir, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    # ---- Programs --------------------------------------------------------------------
    def start(self, exe="OSTREL.EXE", args=(), drive=CD_LETTER.upper()):
        """Starts drive:\\exe with its arguments; the program's output goes to a log."""
        log_path = os.path.join(self.dir, f"{exe}.{len(self.programs)}.log")
        log = open(log_path, "wb")
        popen = subprocess.Popen(["wine", f"{drive}:\\{exe}", *args], cwd=self.dir, env=self.env,
                                 stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log.close()
        program = Program(popen, exe, log_path)
        self.programs.append(program)
        return program

    def ui(self, *args, timeout=30):
        """Runs UIAUTO.EXE; returns (exit code, stdout text)."""
        code, out = run_captured(["wine", UIAUTO, *[str(a) for a in args]], self.env, timeout,
                                 cwd=self.dir)
        return code, out.decode("utf-8", errors="replace")

    def ui_json(self, *args, timeout=30):
        code, text = self.ui(*args, timeout=timeout)
        if code != 0 or not text.strip():
            return None
        return json.loads(text.strip().splitlines()[-1])

    def msgbox(self, timeout_ms=8000, press=None, title=None):
        """The next message box as {caption, text, buttons, icon, ...}, or None."""
        args = ["msgbox", "--timeout", timeout_ms]
        if press is not None:
            args += ["--press", press]
        if title is not None:
            args += ["--title", title]
        box = self.ui_json(*args, timeout=timeout_ms / 1000 + 30)
        if box is not None:
            box["button_texts"] = [b["text"] for b in box["buttons"]]
        return box

    def no_msgbox(self, wait_ms=1500):
        """True when no message box appears within wait_ms."""
        code, _ = self.ui("msgbox", "--timeout", wait_ms)
        return code != 0

    def wait_window(self, title=None, cls=None, timeout_ms=8000):
        args = ["wait-window", "--timeout", timeout_ms]
        if title is not None:
            args += ["--title", title]
        if cls is not None:
            args += ["--class", cls]
        return self.ui_json(*args, timeout=timeout_ms / 1000 + 30)

    def windows(self, visible=True):
        code, text = self.ui("list-windows", *(["--visible"] if visible else []))
        return [json.loads(line) for line in text.splitlines() if line.strip()]

    # ---- State -----------------------------------------------------------------------
    def reg_query(self, key, value=None, view=PROGRAM_VIEW):
        """reg.exe's listing of a key (as the programs under test see it), or None if absent.

        reg.exe reads the registry's Unicode texts and prints them in its process's code
        page: it runs under the Japanese locale whatever the programs run under, so that
        Japanese comes back whole (under 1252 it would print "?") and a text stored
        garbled shows as such.
        """
        args = ["wine", "reg", "query", key]
        if value is not None:
            args += ["/v", value]
        args.append(f"/reg:{view}")
        code, out = run_captured(args, dict(self.env, LC_ALL=FIRST_LOCALE), 60)
        if code != 0:
            return None
        return from_cp932(out)

    def reg_value(self, key, name, view=PROGRAM_VIEW):
        """(type, data) of one value as reg.exe shows it ("REG_SZ", "text"), or None.

        reg.exe separates name, type and data by four blanks, so names and data with
        blanks of their own survive; binary data comes as hex digits.
        """
        out = self.reg_query(key, name, view)
        if out is None:
            return None
        for line in out.splitlines():
            m = re.match(r"^    (.*?)    (REG_[A-Z_]+)(?:    (.*))?$", line.rstrip("\r"))
            if m and m.group(1).lower() == name.lower():
                return m.group(2), m.group(3) or ""
        return None

    def unix_path(self, windows_path):
        """Where a Windows path of the prefix lies (drive link resolved, case ignored)."""
        drive, _, rest = windows_path.partition(":")
        path = os.path.realpath(os.path.join(PREFIX, "dosdevices", drive.lower() + ":"))
        for part in [p for p in rest.replace("/", "\\").split("\\") if p]:
            match = part
            if os.path.isdir(path):
                for entry in os.listdir(path):
                    if entry.lower() == part.lower():
                        match = entry
                        break
            path = os.path.join(path, match)
        return path

    @contextlib.contextmanager
    def small_drive(self, letter, size):
        """A tmpfs of size (as mount takes it, "1m") seen by Wine as drive letter; yields its
        Unix folder; fails the test where mounting is not allowed. Afterwards Wine lets go
        of the drive before it is unmounted."""
        folder = os.path.join(self.dir, f"drive-{letter.lower()}")
        os.makedirs(folder)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", folder],
                          stderr=subprocess.DEVNULL).returncode != 0:
            raise CheckFailed("cannot mount a small tmpfs here (the tests run as root)")
        link = os.path.join(PREFIX, "dosdevices", letter.lower() + ":")
        try:
            if os.path.lexists(link):
                os.remove(link)
            os.symlink(folder, link)
            yield folder
        finally:
            kill_wineserver(self.display)
            if os.path.lexists(link):
                os.remove(link)
            subprocess.run(["umount", "-l", folder], stderr=subprocess.DEVNULL)

    def screenshot(self, label):
        path = os.path.join(ARTIFACTS, f"{self.name}-{label}.png")
        subprocess.run(["import", "-window", "root", path], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        self.shots.append(path)
        return path

    # ---- Checks ----------------------------------------------------------------------
    def check(self, condition, message):
        if not condition:
            raise CheckFailed(message)

    def check_equal(self, got, expected, what):
        if got != expected:
            raise CheckFailed(f"{what}: expected {expected!r}, got {got!r}")

    def check_msgbox(self, box, text, caption, icon=None, buttons=None):
        """Checks one message box read with msgbox(); says what differs."""
        self.check(box is not None, f"expected a message box {text!r}, none appeared")
        self.check_equal(box["text"], text, "message text")
        self.check_equal(box["caption"], caption, f"caption of {text!r}")
        if icon is not None:
            self.check_equal(box["icon"], icon, f"icon of {text!r}")
        if buttons is not None:
            self.check_equal(box["button_texts"], buttons, f"buttons of {text!r}")

    # ---- End -------------------------------------------------------------------------
    def finish(self):
        kill_wineserver(self.display)
        for program in self.programs:
            try:
                program.popen.wait(timeout=10)
            except subprocess.TimeoutExpired:
                program.popen.kill()
                program.popen.wait()


def wait_until(predicate, timeout, step=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if predicate():
            return True
        time.sleep(step)
    return predicate()
