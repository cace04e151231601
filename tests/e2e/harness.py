"""Runs the real keyvora.exe under Wine in Xvfb and drives it as a user would.

One Environment per test run: an X server, a Wine prefix (created once, server kept up) and the
paths of the programs under test. Each test starts a fresh Keyvora (App) and, where it needs a
target, a Recorder, and reads back what a user could see through probe.exe (window captions,
control texts, list rows), the recorder's log of posted messages, saved files and screenshots.

Everything waits by polling a condition with a deadline; nothing relies on a fixed sleep alone.
Only processes this module started are ever stopped.
"""

import atexit
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
BUILD_DIR = Path(os.environ.get("KEYVORA_BUILD_DIR", REPO / "build" / "win32")).resolve()
WORK_DIR = Path(os.environ.get("KEYVORA_E2E_WORK", REPO / "build" / "e2e-work")).resolve()
SCREENSHOT_DIR = Path(os.environ.get("KEYVORA_E2E_SCREENSHOTS", REPO / "build" / "e2e-screenshots")).resolve()

MAIN_CLASS = "KeyvoraMainWindow"
KEY_DIALOG_CLASS = "KeyvoraKeyStepDialog"
MOUSE_DIALOG_CLASS = "KeyvoraMouseStepDialog"
FILE_DIALOG_CLASS = "#32770"

ID_TARGET_LIST = 1001
ID_STEP_LIST = 1002
ID_RUN_BUTTON = 1003
ID_OPEN_BUTTON = 1004
ID_SAVE_BUTTON = 1005
ID_HELP_BUTTON = 1006

RUN_IDLE = "执行脚本(Home键)"
RUN_BUSY = "停止执行(Home键)"

# The context menu's items in order; the keyboard walks over separators but not over grayed items.
MENU_ITEMS = ["添加按键", "添加鼠标", "删除选择", "编辑选择", "插入回车键", "插入 Esc键", "插入空格键"]

# Where the real cursor waits while a run posts mouse messages: over no window of the test.
PARKED_CURSOR = (1275, 1018)


class Timeout(AssertionError):
    pass


def wait_for(condition, timeout=10.0, interval=0.1, what="condition", seen=None):
    """Polls condition() until it returns a true value, which is returned. On timeout raises with
    what was expected and what seen() (or the last value) showed."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        try:
            last = condition()
        except (subprocess.SubprocessError, ValueError, KeyError, IndexError, OSError) as error:
            last = error
        else:
            if last:
                return last
        if time.monotonic() >= deadline:
            shown = seen() if seen else last
            raise Timeout(f"timed out after {timeout:.1f} s waiting for {what}; saw: {shown!r}")
        time.sleep(interval)


def run(args, env=None, timeout=20, check=True):
    result = subprocess.run(args, env=env, capture_output=True, timeout=timeout)
    if check and result.returncode != 0:
        raise subprocess.CalledProcessError(result.returncode, args, result.stdout, result.stderr)
    return result


def windows_path(path):
    """The path as a Wine program sees it, through drive Z:."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class Environment:
    """The X server and the Wine prefix of one test run."""

    def __init__(self, prefix, lang="zh_CN.UTF-8", display=None):
        self.prefix = Path(prefix)
        self.lang = lang
        self.display = display
        self.xvfb = None
        self.processes = []

    # --- set-up and tear-down -------------------------------------------------------------
    def start(self):
        if self.display is None:
            self.display, self.xvfb = start_xvfb()
        self.init_prefix()
        # The server keeps running (it puts itself in the background) until stop().
        subprocess.run(["wineserver", "-p"], env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=30)
        return self

    def init_prefix_command(self):
        return ["bash", "-c", f'source "{REPO}/scripts/wine_env.sh" && wine_prefix_init']

    def init_prefix(self):
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        run(self.init_prefix_command(), env=self.env(), timeout=300)
        if not (self.prefix / "system.reg").exists():
            raise RuntimeError(f"the Wine prefix {self.prefix} was not created")

    def env(self):
        env = dict(os.environ)
        env.update(
            WINEARCH="win32",
            WINEDEBUG=os.environ.get("WINEDEBUG", "-all"),
            WINEDLLOVERRIDES="mscoree,mshtml=",
            WINEPREFIX=str(self.prefix),
            KEYVORA_PREFIX=str(self.prefix),
            KEYVORA_LANG=self.lang,
            LANG=self.lang,
            LC_ALL=self.lang,
        )
        if self.display:
            env["DISPLAY"] = self.display
        return env

    def stop(self):
        for process in self.processes:
            kill(process)
        self.processes.clear()
        subprocess.run(["wineserver", "-k"], env=self.env(), capture_output=True, timeout=30)
        if self.xvfb is not None:
            kill(self.xvfb)
            self.xvfb = None

    # --- programs -------------------------------------------------------------------------
    def spawn(self, args, log_name):
        WORK_DIR.mkdir(parents=True, exist_ok=True)
        log = open(WORK_DIR / log_name, "ab")
        process = subprocess.Popen(["wine", *map(str, args)], env=self.env(), cwd=WORK_DIR, stdout=log,
                                   stderr=subprocess.STDOUT, start_new_session=True)
        log.close()
        self.processes.append(process)
        return process

    def forget(self, process):
        kill(process)
        if process in self.processes:
            self.processes.remove(process)

    def probe(self, *args):
        # Output goes through a file, not a pipe: the first Wine program of a server starts the
        # prefix's services, which inherit its standard handles and would hold a pipe open.
        with tempfile.TemporaryFile() as output:
            subprocess.run(["timeout", "15", "wine", BUILD_DIR / "probe.exe", *map(str, args)], env=self.env(),
                           stdout=output, stderr=subprocess.DEVNULL, timeout=20, check=True)
            output.seek(0)
            return json.loads(output.read().decode("utf-8"))

    def windows(self, class_name=None, hwnd=None):
        args = ["windows"]
        if class_name:
            args += ["--class", class_name]
        if hwnd:
            args += ["--hwnd", hwnd]
        return self.probe(*args)

    # --- X input --------------------------------------------------------------------------
    def xdo(self, *args):
        return run(["xdotool", *map(str, args)], env=self.env(), timeout=15)

    def click(self, x, y, button=1):
        self.xdo("mousemove", int(x), int(y), "click", button)

    def move(self, x, y):
        self.xdo("mousemove", int(x), int(y))

    def key(self, *keys):
        self.xdo("key", "--delay", 30, *keys)

    def type(self, text):
        self.xdo("type", "--delay", 20, "--", text)

    def hold_key(self, key, seconds=0.15):
        """Down, a pause, up: so a poll of the asynchronous key state sees the key held. The pause is
        well above Wine's 50 ms reuse of a key state it has read, and well below the X server's
        auto-repeat delay, which would make a second press."""
        self.xdo("keydown", key)
        time.sleep(seconds)
        self.xdo("keyup", key)

    def x_window(self, unix_pid):
        """The visible X window of a Wine process (Wine tags its X windows with the process id)."""
        found = self.xdo("search", "--onlyvisible", "--pid", unix_pid).stdout.split()
        return found[0].decode() if found else None

    def x_window_at(self, win_window):
        """The visible X window whose geometry is that of a Win32 top-level window."""
        outer = win_window["outer"]
        for xid in self.xdo("search", "--onlyvisible", "--name", ".*").stdout.split():
            geometry = run(["xdotool", "getwindowgeometry", "--shell", xid], env=self.env(), check=False).stdout
            values = dict(line.split("=", 1) for line in geometry.decode().split() if "=" in line)
            if (int(values.get("X", -1)), int(values.get("Y", -1)), int(values.get("WIDTH", -1)),
                    int(values.get("HEIGHT", -1))) == (outer["left"], outer["top"], outer["width"], outer["height"]):
                return xid.decode()
        return None

    def focus(self, xid):
        """Gives the X keyboard focus to the window (Wine takes keyboard input only through one of
        its own windows) and checks that it has it."""
        self.xdo("windowfocus", "--sync", xid)
        wait_for(lambda: self.xdo("getwindowfocus").stdout.decode().strip() == str(xid), timeout=5,
                 what=f"the X focus on window {xid}", seen=lambda: self.xdo("getwindowfocus").stdout.decode().strip())

    # --- screen ---------------------------------------------------------------------------
    def screenshot(self, path, rect=None):
        path = Path(path)
        path.parent.mkdir(parents=True, exist_ok=True)
        args = ["import", "-window", "root"]
        if rect:
            args += ["-crop", f"{rect['width']}x{rect['height']}+{rect['left']}+{rect['top']}", "+repage"]
        run([*args, str(path)], env=self.env(), timeout=30)
        return path

    def pixels(self, rect):
        """The screen's pixels in rect as rows of (r, g, b), read through a PPM."""
        data = run(["import", "-window", "root", "-crop",
                    f"{rect['width']}x{rect['height']}+{rect['left']}+{rect['top']}", "+repage", "ppm:-"],
                   env=self.env(), timeout=30).stdout
        return parse_ppm(data)


def parse_ppm(data):
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    position += 1
    width, height, maximum = int(fields[1]), int(fields[2]), int(fields[3])
    step = 6 if maximum > 255 else 3
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            at = position + (y * width + x) * step
            if step == 3:
                row.append((data[at], data[at + 1], data[at + 2]))
            else:
                row.append((data[at], data[at + 2], data[at + 4]))
        rows.append(row)
    return rows


def start_xvfb():
    for number in range(140, 200):
        if Path(f"/tmp/.X11-unix/X{number}").exists() or Path(f"/tmp/.X{number}-lock").exists():
            continue
        display = f":{number}"
        xvfb = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        env = dict(os.environ, DISPLAY=display)
        try:
            wait_for(lambda: subprocess.run(["xdpyinfo"], env=env, capture_output=True).returncode == 0
                     or xvfb.poll() is not None, timeout=10, what="Xvfb")
        except Timeout:
            kill(xvfb)
            continue
        if xvfb.poll() is None:
            return display, xvfb
    raise RuntimeError("no free X display for Xvfb")


def kill(process):
    if process.poll() is None:
        try:
            os.killpg(process.pid, signal.SIGKILL)
        except (ProcessLookupError, PermissionError):
            process.kill()
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        pass


def control(window, control_id=None, class_name=None, text=None):
    for c in window["controls"]:
        if control_id is not None and c["id"] != control_id:
            continue
        if class_name is not None and c["class"].lower() != class_name.lower():
            continue
        if text is not None and c["text"] != text:
            continue
        return c
    raise KeyError(f"no control id={control_id} class={class_name} text={text!r} in {window['caption']!r}")


def centre(rect):
    return rect["left"] + rect["width"] // 2, rect["top"] + rect["height"] // 2


class App:
    """One running keyvora.exe and the ways a user works with it."""

    def __init__(self, env, exe=None):
        self.env = env
        self.exe = exe or BUILD_DIR / "keyvora.exe"
        self.process = None
        self.hwnd = None
        self.pid = None

    def start(self):
        before = {w["hwnd"] for w in self.env.windows(MAIN_CLASS)}
        self.process = self.env.spawn([self.exe], "keyvora.log")
        window = wait_for(lambda: next((w for w in self.env.windows(MAIN_CLASS) if w["hwnd"] not in before), None),
                          timeout=30, what="the Keyvora main window")
        self.hwnd, self.pid = window["hwnd"], window["pid"]
        # The list view and buttons exist once the creation handler has run.
        wait_for(lambda: len(self.main()["controls"]) >= 6, what="the main window's controls")
        return self

    def stop(self):
        if self.process is not None:
            self.env.forget(self.process)
        self.process = None

    def alive(self):
        return self.process is not None and self.process.poll() is None

    # --- reading --------------------------------------------------------------------------
    def main(self):
        found = self.env.windows(hwnd=self.hwnd)
        if not found:
            raise KeyError("the main window is gone")
        return found[0]

    def dialogs(self, class_name=None):
        return [w for w in self.env.windows(class_name) if w["owner"] == self.hwnd or
                (class_name and w["pid"] == self.pid and w["hwnd"] != self.hwnd)]

    def dialog(self, class_name):
        found = self.dialogs(class_name)
        return found[0] if found else None

    def rows(self):
        return control(self.main(), ID_STEP_LIST)["rows"]

    def selected_row(self):
        return control(self.main(), ID_STEP_LIST)["selected"]

    def run_button_text(self):
        return control(self.main(), ID_RUN_BUTTON)["text"]

    def describe(self):
        """What a user could see, for failure messages."""
        try:
            main = self.main()
            shown = {"caption": main["caption"], "client": main["client"],
                     "rows": control(main, ID_STEP_LIST)["rows"],
                     "selected": control(main, ID_STEP_LIST)["selected"],
                     "buttons": [(c["id"], c["text"], c["enabled"]) for c in main["controls"] if c["class"] == "Button"]}
            shown["dialogs"] = [(w["class"], w["caption"], [(c["class"], c["text"]) for c in w["controls"]])
                                for w in self.env.windows() if w["pid"] == self.pid and w["hwnd"] != self.hwnd]
            return shown
        except Exception as error:  # noqa: BLE001 - only for a failure message
            return f"(could not read the program: {error})"

    # --- acting ---------------------------------------------------------------------------
    def focus(self):
        xid = wait_for(lambda: self.env.x_window_at(self.main()), what="the main X window")
        self.env.focus(xid)

    def click_control(self, control_id, button=1):
        self.env.click(*centre(control(self.main(), control_id)["screen"]), button=button)

    def row_point(self, row):
        """A point on the given row of the step list, from the row's bounds as the list reports them."""
        bounds = control(self.main(), ID_STEP_LIST)["row_rects"][row]
        return bounds["left"] + 40, bounds["top"] + bounds["height"] // 2

    def select_row(self, row):
        self.env.click(*self.row_point(row))
        wait_for(lambda: self.selected_row() == row, what=f"row {row} selected", seen=self.describe)

    def empty_list_point(self):
        rect = control(self.main(), ID_STEP_LIST)["screen"]
        return rect["left"] + 60, rect["top"] + rect["height"] - 12

    def open_menu(self, row=None):
        """Right-clicks the step list: on a row, or on the empty space below the rows."""
        point = self.row_point(row) if row is not None else self.empty_list_point()
        self.env.click(*point, button=3)
        return wait_for(lambda: next(iter(self.env.probe("menu")), None), what="the context menu")

    def menu_command(self, item, row=None):
        self.open_menu(row)
        self.env.key(*["Down"] * (MENU_ITEMS.index(item) + 1), "Return")
        wait_for(lambda: not self.env.probe("menu"), what="the context menu to close")

    def open_dialog(self, item, class_name, row=None):
        self.menu_command(item, row)
        return wait_for(lambda: self.dialog(class_name), what=f"the dialog {class_name}", seen=self.describe)

    def close_dialog(self, dialog):
        """Clicks the window's close button in its caption bar and waits for the window to go."""
        self.click_close_button(dialog)
        wait_for(lambda: not self.env.windows(hwnd=dialog["hwnd"]), what="the dialog to close", seen=self.describe)

    def click_close_button(self, dialog):
        outer, client = dialog["outer"], dialog["client"]
        border = client["left"] - outer["left"]
        caption_height = client["top"] - outer["top"] - border
        x = outer["left"] + outer["width"] - border - caption_height // 2 - 1
        y = outer["top"] + border + caption_height // 2
        self.env.click(x, y)

    def choose_target(self, entry_contains):
        """Opens the target drop-down (which refills it) and chooses the entry with the keyboard."""
        combo = control(self.main(), ID_TARGET_LIST)["screen"]
        self.env.click(combo["left"] + combo["width"] - 8, combo["top"] + combo["height"] // 2)
        combo_state = wait_for(lambda: (lambda c: c if c["dropped"] and c["entries"] else None)(
            control(self.main(), ID_TARGET_LIST)), what="the target list dropped down", seen=self.describe)
        index = next(i for i, e in enumerate(combo_state["entries"]) if entry_contains in e)
        self.env.key(*["Down"] * (index + 1), "Return")
        wait_for(lambda: (lambda c: c["selected"] == index and not c["dropped"])(control(self.main(), ID_TARGET_LIST)),
                 what=f"target entry {index} chosen", seen=lambda: control(self.main(), ID_TARGET_LIST))
        return combo_state["entries"][index]

    def press_home(self, xid):
        self.env.focus(xid)
        self.env.key("Home")

    def file_dialog(self):
        return wait_for(lambda: self.dialog(FILE_DIALOG_CLASS), what="the file dialog", seen=self.describe)

    def enter_file_name(self, path, replace_existing=False):
        """Types a full path into the open file dialog's name field and confirms it; with
        replace_existing, answers the question about replacing the existing file with yes."""
        dialog = self.file_dialog()
        self.env.focus(wait_for(lambda: self.env.x_window_at(dialog), what="the file dialog's X window"))
        self.env.key("End", "shift+Home", "BackSpace")
        self.env.type(windows_path(path))
        self.env.key("Return")
        if replace_existing:
            question = wait_for(lambda: next((w for w in self.dialogs(FILE_DIALOG_CLASS) if self.yes_button(w)), None),
                                what="the question about replacing the file", seen=self.describe)
            self.env.click(*centre(self.yes_button(question)["screen"]))
        wait_for(lambda: not self.env.windows(hwnd=dialog["hwnd"]), what="the file dialog to close",
                 seen=self.describe)

    @staticmethod
    def yes_button(window):
        return next((c for c in window["controls"] if c["class"].lower() == "button" and c["text"].startswith("是")),
                    None)

    def save_as(self, path, replace_existing=False):
        self.click_control(ID_SAVE_BUTTON)
        self.enter_file_name(path, replace_existing)

    def open_file(self, path):
        self.click_control(ID_OPEN_BUTTON)
        self.enter_file_name(path)


class Recorder:
    """A target window in its own process that logs the key and mouse messages it receives."""

    def __init__(self, env, caption="Keyvora Recorder"):
        self.env = env
        self.caption = caption
        self.log_path = Path(tempfile.mkstemp(prefix="recorder-", suffix=".log", dir=WORK_DIR)[1])
        self.process = None
        self.hwnd = None
        self.pid = None

    def start(self):
        exe = BUILD_DIR / "tests" / "win32" / "recorder.exe"
        self.process = self.env.spawn([exe, windows_path(self.log_path), self.caption], "recorder.log")
        first = wait_for(lambda: self.lines()[:1], timeout=30, what="the recorder's first log line")[0].split()
        self.hwnd, self.pid = int(first[1]), int(first[3])
        return self

    def stop(self):
        if self.process is not None:
            self.env.forget(self.process)
        self.process = None

    def lines(self):
        text = self.log_path.read_text(errors="replace")
        return [line for line in text.split("\n") if line]

    def messages(self, names=("WM_KEYDOWN", "WM_KEYUP", "WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_MOUSEMOVE")):
        """(microseconds, name, wParam, lParam) of each logged message of the given kinds."""
        found = []
        for line in self.lines()[1:]:
            parts = line.split()
            if len(parts) == 4 and parts[1] in names:
                found.append((int(parts[0]), parts[1], int(parts[2], 16), int(parts[3], 16)))
        return found

    def key_downs(self):
        return self.messages(("WM_KEYDOWN",))

    def x_window(self):
        return wait_for(lambda: self.env.x_window(self.process.pid), what="the recorder's X window")


_environment = None


def environment():
    """The run's shared Environment, started on first use and stopped at exit."""
    global _environment
    if _environment is None:
        WORK_DIR.mkdir(parents=True, exist_ok=True)
        for exe in (BUILD_DIR / "keyvora.exe", BUILD_DIR / "probe.exe", BUILD_DIR / "tests" / "win32" / "recorder.exe"):
            if not exe.exists():
                raise RuntimeError(f"{exe} is not built")
        prefix = os.environ.get("KEYVORA_E2E_PREFIX", str(WORK_DIR / "prefix"))
        _environment = Environment(prefix, display=os.environ.get("KEYVORA_E2E_DISPLAY")).start()
        atexit.register(_environment.stop)
    return _environment


def outcome_failed(test):
    """Whether the running test has failed or errored so far (for tearDown's report)."""
    outcome = getattr(test, "_outcome", None)
    if outcome is None:
        return False
    result = getattr(outcome, "result", None)
    if result is not None and hasattr(result, "failures"):
        return any(t is test for t, _ in result.failures + result.errors) or not getattr(outcome, "success", True)
    return not getattr(outcome, "success", True)


class KeyvoraTestCase(unittest.TestCase):
    """Starts a fresh Keyvora for each test and kills it (and every recorder) afterwards; on a failure
    prints what the program showed and keeps a screenshot of the screen."""

    recorders_wanted = 0

    def setUp(self):
        self.env = environment()
        self.env.move(*PARKED_CURSOR)
        self.recorders = [Recorder(self.env, f"Keyvora Recorder {i + 1}").start() for i in range(self.recorders_wanted)]
        self.app = App(self.env).start()
        self.extra_apps = []
        self.files = Path(tempfile.mkdtemp(prefix=f"{self._testMethodName}-", dir=WORK_DIR))

    def tearDown(self):
        if outcome_failed(self):
            shot = SCREENSHOT_DIR / "failures" / f"{self.id()}.png"
            try:
                self.env.screenshot(shot)
            except Exception:  # noqa: BLE001 - the report must not hide the failure
                pass
            print(f"\n--- {self.id()} failed; the program showed: {self.app.describe()}", file=sys.stderr)
            for recorder in self.recorders:
                print(f"--- recorder log {recorder.log_path}:\n" + "\n".join(recorder.lines()[-20:]), file=sys.stderr)
            print(f"--- screenshot: {shot}", file=sys.stderr)
        for app in [self.app, *self.extra_apps]:
            app.stop()
        for recorder in self.recorders:
            recorder.stop()
        # A killed program's windows go away with it; the next test must not find them.
        wait_for(lambda: not self.env.windows(MAIN_CLASS), what="no Keyvora window left")
        shutil.rmtree(self.files, ignore_errors=True)

    # --- shared steps ---------------------------------------------------------------------
    def add_key_step(self, key="a", delay=None):
        """Adds one key step through the key step dialog and closes it."""
        dialog = self.app.open_dialog("添加按键", KEY_DIALOG_CLASS)
        rows_before = len(self.app.rows())
        if delay is not None:
            self.set_field(dialog, control(dialog, class_name="Edit"), delay)
        self.focus_window(dialog)
        hotkey = control(dialog, class_name="msctls_hotkey32")
        self.env.click(*centre(hotkey["screen"]))
        self.env.key(key)
        self.env.click(*centre(control(dialog, class_name="Button", text="添    加")["screen"]))
        wait_for(lambda: len(self.app.rows()) == rows_before + 1, what="the key step added", seen=self.app.describe)
        self.app.close_dialog(dialog)

    def focus_window(self, window):
        self.env.focus(wait_for(lambda: self.env.x_window_at(window), what=f"the X window of {window['caption']!r}"))

    def set_field(self, window, field, text, expect=None):
        """Replaces the text of an edit field by typing into it; waits until it shows expect (by
        default the typed text)."""
        expect = text if expect is None else expect
        self.focus_window(window)
        self.env.click(*centre(field["screen"]))
        self.env.key("End", "shift+Home", "BackSpace")
        if text:
            self.env.type(text)
        wait_for(lambda: self.field_text(window, field) == expect, what=f"the field to read {expect!r}",
                 seen=lambda: self.field_text(window, field))

    def field_text(self, window, field):
        current = self.env.windows(hwnd=window["hwnd"])[0]
        return next(c["text"] for c in current["controls"] if c["hwnd"] == field["hwnd"])

    def start_run_with_button(self):
        self.app.click_control(ID_RUN_BUTTON)
        wait_for(lambda: self.app.run_button_text() == RUN_BUSY, what="the run to start", seen=self.app.describe)


def menu_text_bands(env, menu):
    """The grayed state of each item of an open popup menu, read from the screen: the rows of the
    menu that hold text form one band per item, black text for an enabled item and gray text for a
    grayed one. (Another process's menu cannot be read through its handle under Wine.)"""
    rect = dict(menu["screen"])
    rect["left"] += 4
    rect["width"] -= 8
    pixels = env.pixels(rect)
    darkness = [min(min(p) for p in row) for row in pixels]
    # A separator is a thin line; text rows come in bands several pixels high.
    bands, start = [], None
    for y, dark in enumerate(darkness + [255]):
        inked = dark < 200
        if inked and start is None:
            start = y
        elif not inked and start is not None:
            if y - start >= 5:
                bands.append(min(darkness[start:y]))
            start = None
    return [darkest > 90 for darkest in bands]
