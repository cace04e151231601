"""Targets that fail under a run: a target killed mid-run, a target whose window stops answering
while the target list is filled, and target handles that name no window."""

import time
import unittest

import harness
from harness import ID_TARGET_LIST, Recorder, control, wait_for

from .support import HostileTestCase, gbk

TWO_STEPS = gbk("按键：A键丨150\r\n鼠标：10,20丨150\r\n")


class HangingRecorder(Recorder):
    """A recorder whose window stops serving its queue shortly after start."""

    def start(self):
        exe = harness.BUILD_DIR / "tests" / "win32" / "recorder.exe"
        self.process = self.env.spawn([exe, harness.windows_path(self.log_path), self.caption, "--hang-after-ms", 300],
                                      "recorder.log")
        first = wait_for(lambda: self.lines()[:1], timeout=30, what="the recorder's first log line")[0].split()
        self.hwnd, self.pid = int(first[1]), int(first[3])
        wait_for(lambda: any(line.endswith(" hang") for line in self.lines()), what="the recorder to hang")
        return self


class TargetFaultTest(HostileTestCase):
    recorders_wanted = 1

    def load_two_steps(self):
        source = self.files / "two.ini"
        source.write_bytes(TWO_STEPS)
        self.open_script_file(source)
        self.wait_rows(2, timeout=20)

    def test_target_killed_during_a_run(self):
        """The run goes on with its delays, the program answers and repaints, and Home stops it."""
        recorder = self.recorders[0]
        self.load_two_steps()
        self.choose_target_and_run(f"丨 {recorder.hwnd}")
        wait_for(lambda: len(recorder.key_downs()) >= 2, what="steps reaching the recorder", seen=recorder.lines)
        recorder.stop()
        wait_for(lambda: not self.env.windows(hwnd=recorder.hwnd), what="the recorder's window gone")

        self.wait_selection_moves(4)
        self.assertEqual(harness.RUN_BUSY, self.app.peek()["run_button"])
        self.assert_keeps_working()
        self.app.press_home(wait_for(lambda: self.env.x_window_at(self.app.main()), what="the main X window"))
        state = self.wait_idle()
        self.assertEqual(str(recorder.hwnd), state["caption"])
        self.assertEqual(-1, state["selected"])

    def test_a_handle_that_names_no_window(self):
        """An entry whose window never existed (-1) or whose process has exited: the run goes on with
        its delays, reaches no window, and stops normally with the button."""
        recorder = self.recorders[0]
        self.load_two_steps()
        cases = [("a process without a window", " 丨  丨 -1", "-1"),
                 ("a process that has exited", f"丨 {recorder.hwnd}", str(recorder.hwnd))]
        for name, entry_contains, caption in cases:
            with self.subTest(name):
                entry = self.app.choose_target(entry_contains)
                logged_before = len(recorder.messages())
                if name == "a process that has exited":
                    recorder.stop()
                    wait_for(lambda: not self.env.windows(hwnd=recorder.hwnd), what="the recorder's window gone")
                self.app.click_control(harness.ID_RUN_BUTTON)
                self.wait_running()
                self.wait_selection_moves(4)
                state = self.stop_with_button()
                self.assertEqual(caption, state["caption"], entry)
                # The recorder, alive during the first case, is no window the entry names.
                self.assertEqual([], recorder.messages()[logged_before:], f"steps of the run with {entry!r} reached the recorder")
        self.assert_keeps_working()


class HungTargetTest(HostileTestCase):
    """Alone with Keyvora: another recorder.exe would lend the hung one's entry its own window."""

    def test_a_hung_window_does_not_stall_the_target_list(self):
        """Opening the drop-down fills the list at once; the hung window's entry has an empty title.
        (Without a timeout on the title request the fill would never end.)"""
        hung = HangingRecorder(self.env, "Keyvora Hung Recorder").start()
        self.recorders.append(hung)
        combo = self.app.layout[ID_TARGET_LIST]
        started = time.monotonic()
        self.env.click(combo["left"] + combo["width"] - 8, combo["top"] + combo["height"] // 2)
        state = wait_for(lambda: (lambda c: c if c["dropped"] and c["entries"] else None)(
            control(self.app.main(), ID_TARGET_LIST)), timeout=20, interval=0.05, what="the target list dropped down")
        took = time.monotonic() - started
        print(f"\n    [{self._testMethodName}] drop-down filled and open {took:.2f} s after the click "
              f"(includes the probe's own reading)", flush=True)
        self.assertIn(f"recorder.exe 丨  丨 {hung.hwnd}", state["entries"])
        # A window that answers still shows its title.
        self.assertTrue(any(e.endswith(f" 丨 Keyvora 丨 {self.app.hwnd}") for e in state["entries"]), state["entries"])
        self.env.key("Escape")
        self.assert_keeps_working()


if __name__ == "__main__":
    unittest.main()
