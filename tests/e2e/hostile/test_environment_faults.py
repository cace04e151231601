"""Faults of the program's surroundings: saves that cannot be made, the Home hotkey taken by another
program, and the main window closed in the middle of a long delay."""

import os
import stat
import time
import unittest

import harness
from harness import FILE_DIALOG_CLASS, centre, wait_for

from .support import FAULTS_DIR, HostileTestCase, file_of_rows, gbk, rows_of_file

SCRIPT = gbk("按键：A键丨150\r\n鼠标：10,20丨150\r\n")


class HostileTestCaseWithScript(HostileTestCase):
    def load(self, data=SCRIPT):
        source = self.files / "script.ini"
        source.write_bytes(data)
        self.open_script_file(source)
        self.wait_rows(len(rows_of_file(data)), timeout=20)

    def answer_box(self, button_prefix):
        """Clicks the button of the program's message box (a question or an error of the file dialog)."""
        box = wait_for(lambda: next((w for w in self.env.windows(FILE_DIALOG_CLASS) if w["pid"] == self.app.pid and any(
            c["text"].startswith(button_prefix) for c in w["controls"] if c["class"].lower() == "button")), None),
            what=f"a box with the button {button_prefix!r}")
        button = next(c for c in box["controls"] if c["class"].lower() == "button" and c["text"].startswith(button_prefix))
        self.env.click(*centre(button["screen"]))
        wait_for(lambda: not self.env.windows(hwnd=box["hwnd"]), what="the box to close")


class SaveFaultTest(HostileTestCaseWithScript):
    def test_saves_that_cannot_be_made_keep_the_old_file_and_the_program(self):
        self.load()
        old_bytes = gbk("按键：回车键丨1000\r\n")
        read_only = self.files / "read-only.ini"
        read_only.write_bytes(old_bytes)
        os.chmod(read_only, stat.S_IRUSR | stat.S_IRGRP | stat.S_IROTH)

        with self.subTest("onto a read-only file"):
            self.app.click_control(harness.ID_SAVE_BUTTON)
            self.type_into_file_dialog(read_only)
            self.answer_box("是")  # the dialog's own overwrite question
            wait_for(lambda: self.app.dialog(FILE_DIALOG_CLASS) is None, what="the save to end")
            self.assertEqual(old_bytes, read_only.read_bytes())

        with self.subTest("into a folder that does not exist"):
            missing = self.files / "missing" / "new.ini"
            self.app.click_control(harness.ID_SAVE_BUTTON)
            dialog = self.type_into_file_dialog(missing)
            self.answer_box("确定")  # the dialog refuses the path
            cancel = next(c for c in self.env.windows(hwnd=dialog["hwnd"])[0]["controls"]
                          if c["class"].lower() == "button" and c["text"] == "取消")
            self.env.click(*centre(cancel["screen"]))
            wait_for(lambda: self.app.dialog(FILE_DIALOG_CLASS) is None, what="the save dialog to close")
            self.assertFalse(missing.parent.exists())

        # Nothing half-written is left behind, and the next save works.
        self.assertEqual(sorted(["script.ini", "read-only.ini"]), sorted(p.name for p in self.files.iterdir()))
        self.assertEqual(file_of_rows(rows_of_file(SCRIPT)), self.saved_bytes(self.files / "after.ini"))
        self.assert_keeps_working()


class HomeTakenTest(HostileTestCaseWithScript):
    """Another program holds Home when Keyvora starts: Keyvora runs and stops with its button, and Home
    reaches the other program, not Keyvora."""

    recorders_wanted = 1

    def before_app(self):
        self.holder_log = self.files / "holder.log"
        holder = self.env.spawn([FAULTS_DIR / "hotkey_holder.exe", harness.windows_path(self.holder_log)],
                                "hotkey_holder.log")
        self.addCleanup(self.env.forget, holder)
        first = wait_for(lambda: self.holder_lines()[:1], timeout=30, what="the holder's first line")[0]
        self.assertTrue(first.startswith("registered 1 "), first)

    def holder_lines(self):
        return self.holder_log.read_text().split("\n")[:-1] if self.holder_log.exists() else []

    def press_home_and_see_it_go_to_the_holder(self):
        before = len(self.holder_lines())
        self.app.press_home(wait_for(lambda: self.env.x_window_at(self.app.main()), what="the main X window"))
        wait_for(lambda: len(self.holder_lines()) > before, what="Home at the holder", seen=self.holder_lines)

    def test_home_taken_by_another_program(self):
        recorder = self.recorders[0]
        self.load()
        self.app.choose_target(f"丨 {recorder.hwnd}")

        self.press_home_and_see_it_go_to_the_holder()
        self.assertEqual(harness.RUN_IDLE, self.app.peek()["run_button"])
        self.assertEqual([], recorder.key_downs())

        self.app.click_control(harness.ID_RUN_BUTTON)
        self.wait_running()
        wait_for(lambda: recorder.key_downs(), what="the run reaching the recorder", seen=recorder.lines)
        self.press_home_and_see_it_go_to_the_holder()
        sent = len(recorder.key_downs())
        wait_for(lambda: len(recorder.key_downs()) >= sent + 2, what="the run going on after Home",
                 seen=recorder.lines)
        self.assertEqual(harness.RUN_BUSY, self.app.peek()["run_button"])

        self.stop_with_button()
        self.assertEqual("Keyvora Hotkey Holder", self.env.windows(hwnd=int(self.holder_lines()[0].split()[3]))[0]
                         ["caption"])


class CloseDuringRunTest(HostileTestCaseWithScript):
    recorders_wanted = 1

    def test_closing_the_window_during_a_long_delay_ends_the_program(self):
        recorder = self.recorders[0]
        self.load(gbk("按键：A键丨60000\r\n按键：B键丨10\r\n"))
        self.app.choose_target(f"丨 {recorder.hwnd}")
        self.app.click_control(harness.ID_RUN_BUTTON)
        self.wait_running()
        wait_for(lambda: recorder.key_downs(), what="the first step at the recorder", seen=recorder.lines)

        main = self.app.main()
        outer, client = main["outer"], main["client"]
        border = client["left"] - outer["left"]
        caption_height = client["top"] - outer["top"] - border
        closed_at = time.monotonic()
        self.env.click(outer["left"] + outer["width"] - border - caption_height // 2 - 1,
                       outer["top"] + border + caption_height // 2)
        wait_for(lambda: self.app.process.poll() is not None, timeout=20, interval=0.05,
                 what="the Keyvora process to end (the delay is 60 s)", seen=self.app.describe)
        print(f"\n    [{self._testMethodName}] process ended {time.monotonic() - closed_at:.2f} s after the close "
              f"click", flush=True)
        self.assertEqual([0x41], [wparam for _, _, wparam, _ in recorder.key_downs()])


if __name__ == "__main__":
    unittest.main()
