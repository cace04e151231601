"""What the hostile tests share: the script file rules written out independently of the program,
a Keyvora that can be watched without reading every row (peek.exe), and a test case built on it."""

import json
import subprocess
import tempfile
import time
from pathlib import Path

import harness
from harness import ID_RUN_BUTTON, RUN_BUSY, RUN_IDLE, App, KeyvoraTestCase, Recorder, centre, wait_for

FAULTS_DIR = harness.BUILD_DIR / "tests" / "win32" / "faults"
SEPARATOR = "丨".encode("gbk")  # D8 AD
LINE_END = b"\r\n"


# --- the script file rules --------------------------------------------------------------------
def split_pieces(text, separator):
    """Left-to-right scan that matches the separator only where a character begins: a byte of 0x80 or
    above is passed over together with the byte after it. Empty pieces between separators count; an
    empty last piece does not, so the empty text has no pieces."""
    pieces, start, position = [], 0, 0
    while position < len(text):
        if text.startswith(separator, position):
            pieces.append(text[start:position])
            position += len(separator)
            start = position
        elif text[position] >= 0x80:
            position += 2
        else:
            position += 1
    if start < len(text):
        pieces.append(text[start:])
    return pieces


def rows_of_file(data):
    """The rows an opened file gives: read up to the first zero byte, lines at CR LF, pieces at 丨;
    a line with fewer than two pieces still gives a row, its missing pieces empty."""
    zero = data.find(b"\x00")
    if zero >= 0:
        data = data[:zero]
    rows = []
    for line in split_pieces(data, LINE_END):
        pieces = split_pieces(line, SEPARATOR) + [b"", b""]
        rows.append((pieces[0], pieces[1]))
    return rows


def file_of_rows(rows):
    return b"".join(step + SEPARATOR + delay + LINE_END for step, delay in rows)


def gbk(text):
    return text.encode("gbk")


# --- watching Keyvora -------------------------------------------------------------------------
def run_helper(env, exe, *args, timeout=20):
    """Runs a console helper under Wine; its output goes through a file (see Environment.probe)."""
    with tempfile.TemporaryFile() as output:
        subprocess.run(["timeout", str(timeout), "wine", exe, *map(str, args)], env=env.env(), stdout=output,
                       stderr=subprocess.DEVNULL, timeout=timeout + 5, check=True)
        output.seek(0)
        return json.loads(output.read().decode("utf-8"))


class WatchedApp(App):
    """A Keyvora whose state is read with peek.exe (row count, not rows), and whose buttons are
    clicked where they were at start: with a million rows loaded, reading every row is too slow."""

    def start(self):
        super().start()
        # The first control of each identifier, as control() finds it: the combo box's own edit
        # field carries the identifier 1001 too.
        self.layout = {}
        for found in self.main()["controls"]:
            self.layout.setdefault(found["id"], found["screen"])
        return self

    def peek(self):
        return run_helper(self.env, FAULTS_DIR / "peek.exe", "state", self.hwnd)

    def buttons_rect(self):
        """The row of the open, save and instructions buttons, whose look no run changes."""
        left = self.layout[harness.ID_OPEN_BUTTON]
        right = self.layout[harness.ID_HELP_BUTTON]
        return {"left": left["left"], "top": left["top"], "width": right["left"] + right["width"] - left["left"],
                "height": left["height"]}

    def repaints(self, timeout=10.0):
        """Covers the window with a magenta one and uncovers it; true once the buttons look as they
        did before, which needs the program to paint them again."""
        region = self.buttons_rect()
        before = self.env.pixels(region)
        run_helper(self.env, FAULTS_DIR / "peek.exe", "cover", self.hwnd, 400)
        try:
            return wait_for(lambda: self.env.pixels(region) == before, timeout=timeout, interval=0.2,
                            what="the buttons painted again")
        except harness.Timeout:
            return False

    def click_control(self, control_id, button=1):
        self.env.click(*centre(self.layout[control_id]), button=button)

    def run_button_text(self):
        return self.peek()["run_button"]

    def describe(self):
        try:
            return self.peek()
        except Exception as error:  # noqa: BLE001 - only for a failure message
            return f"(could not peek: {error})"

    def responsive(self):
        """Answers a message, and repaints when asked to."""
        return self.peek().get("answered") and self.repaints()


class HostileTestCase(KeyvoraTestCase):
    """A fresh, watched Keyvora per test. before_app() runs first, for what must exist when it starts."""

    def setUp(self):
        self.env = harness.environment()
        for helper in ("peek.exe", "hotkey_holder.exe"):
            if not (FAULTS_DIR / helper).exists():
                raise RuntimeError(f"{FAULTS_DIR / helper} is not built")
        # The first X request of a run has been seen to fail once; it is retried, not ignored.
        wait_for(lambda: self.env.move(*harness.PARKED_CURSOR) or True, timeout=10, what="the cursor parked")
        self.files = Path(tempfile.mkdtemp(prefix=f"{self._testMethodName}-", dir=harness.WORK_DIR))
        self.extra_apps = []
        self.recorders = []
        self.app = None
        self.before_app()
        self.recorders += [Recorder(self.env, f"Keyvora Recorder {i + 1}").start()
                           for i in range(self.recorders_wanted)]
        self.app = WatchedApp(self.env).start()

    def before_app(self):
        pass

    def tearDown(self):
        if self.app is None:
            self.app = WatchedApp(self.env)
        super().tearDown()

    # --- shared steps ---------------------------------------------------------------------
    def wait_idle(self, timeout=10.0):
        return wait_for(lambda: (lambda s: s if s.get("run_button") == RUN_IDLE and s.get("target_enabled") else None)(
            self.app.peek()), timeout=timeout, what="the run to be stopped", seen=self.app.describe)

    def wait_running(self, timeout=10.0):
        return wait_for(lambda: (lambda s: s if s.get("run_button") == RUN_BUSY and not s.get("target_enabled")
                                 else None)(self.app.peek()), timeout=timeout, what="the run to be going",
                        seen=self.app.describe)

    def wait_selection_moves(self, count=3, timeout=15.0):
        """The run goes on: the selection (the run's position) changes count times."""
        seen = []

        def moved():
            selected = self.app.peek().get("selected")
            if not seen or seen[-1] != selected:
                seen.append(selected)
            return len(seen) > count

        wait_for(moved, timeout=timeout, interval=0.05, what=f"the selection to move {count} times",
                 seen=lambda: seen)
        return seen

    def assert_keeps_working(self):
        """The program still answers messages and paints itself again after being covered."""
        self.assertTrue(wait_for(self.app.responsive, timeout=20, what="Keyvora to answer and repaint",
                                 seen=self.app.describe))

    def open_script_file(self, path):
        """Opens a script file with the open dialog; returns the moment the name was confirmed."""
        self.app.click_control(harness.ID_OPEN_BUTTON)
        self.type_into_file_dialog(path)
        return time.monotonic()

    def type_into_file_dialog(self, path):
        dialog = self.app.file_dialog()
        self.env.focus(wait_for(lambda: self.env.x_window_at(dialog), what="the file dialog's X window"))
        self.env.key("End", "shift+Home", "BackSpace")
        self.env.type(harness.windows_path(path))
        self.env.key("Return")
        return dialog

    def wait_rows(self, count, timeout, since=None):
        """Waits until the list holds count rows and the program answers again; prints how long it took."""
        since = time.monotonic() if since is None else since
        wait_for(lambda: (lambda s: s.get("answered") and s.get("rows") == count)(self.app.peek()), timeout=timeout,
                 interval=0.25, what=f"{count} rows shown", seen=self.app.describe)
        took = time.monotonic() - since
        print(f"\n    [{self._testMethodName}] {count} rows shown {took:.1f} s after confirming the file", flush=True)
        return took

    def saved_bytes(self, path, timeout=60.0):
        """Saves the list into path (a new file) and returns what was written. The file appears only
        once it is whole, because the program moves a finished temporary file into its place."""
        self.app.click_control(harness.ID_SAVE_BUTTON)
        started = time.monotonic()
        self.type_into_file_dialog(path)
        wait_for(path.exists, timeout=timeout, interval=0.25, what=f"{path.name} written", seen=self.app.describe)
        print(f"\n    [{self._testMethodName}] {path.name} saved, {path.stat().st_size} bytes, "
              f"{time.monotonic() - started:.1f} s", flush=True)
        return path.read_bytes()

    def choose_target_and_run(self, entry_contains):
        """Chooses a target entry, starts the run with the button and returns the entry."""
        entry = self.app.choose_target(entry_contains)
        self.app.click_control(ID_RUN_BUTTON)
        self.wait_running()
        return entry

    def stop_with_button(self):
        self.app.click_control(ID_RUN_BUTTON)
        return self.wait_idle()
