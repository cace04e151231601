"""The typical path: a key step made in the key step dialog, a target chosen, Home to start and stop."""

import time
import unittest

from harness import ID_TARGET_LIST, RUN_BUSY, RUN_IDLE, KeyvoraTestCase, control, wait_for


class TypicalPathTest(KeyvoraTestCase):
    recorders_wanted = 1

    def test_key_step_runs_into_the_target_until_home_stops_it(self):
        recorder = self.recorders[0]
        self.add_key_step("a")
        self.assertEqual([["按键：A键", "1000"]], self.app.rows())

        entry = self.app.choose_target(f"丨 {recorder.hwnd}")
        self.assertEqual(f"recorder.exe 丨 {recorder.caption} 丨 {recorder.hwnd}", entry)

        self.app.press_home(recorder.x_window())
        downs = wait_for(lambda: (lambda d: d if len(d) >= 3 else None)(recorder.key_downs()), timeout=10,
                         what="three key presses at the recorder", seen=recorder.lines)
        main = self.app.main()
        self.assertEqual(str(recorder.hwnd), main["caption"])
        self.assertEqual(RUN_BUSY, control(main, 1003)["text"])
        self.assertFalse(control(main, ID_TARGET_LIST)["enabled"])

        keys = [(name, wparam, lparam) for _, name, wparam, lparam in recorder.messages(("WM_KEYDOWN", "WM_KEYUP"))]
        self.assertEqual([("WM_KEYDOWN", 0x41, 0), ("WM_KEYUP", 0x41, 0)] * 3, keys[:6])
        gaps_ms = [(b[0] - a[0]) / 1000 for a, b in zip(downs, downs[1:3])]
        print(f"\n  key presses {', '.join(f'{g:.0f}' for g in gaps_ms)} ms apart (step delay 1000 ms)")
        for gap in gaps_ms:
            self.assertTrue(900 <= gap <= 2000, f"presses {gap:.0f} ms apart")

        self.app.press_home(recorder.x_window())
        wait_for(lambda: self.app.run_button_text() == RUN_IDLE, what="the run to stop", seen=self.app.describe)
        after_stop = len(recorder.messages())
        time.sleep(1.5)  # longer than one step's delay: a run still going would post again
        self.assertEqual(after_stop, len(recorder.messages()), recorder.lines()[-4:])
        self.assertTrue(control(self.app.main(), ID_TARGET_LIST)["enabled"])
        self.assertEqual(str(recorder.hwnd), self.app.main()["caption"])
        # The hotkey is taken system-wide: the focused recorder never saw the Home key itself.
        self.assertNotIn(0x24, [wparam for _, _, wparam, _ in recorder.messages(("WM_KEYDOWN", "WM_KEYUP"))])


if __name__ == "__main__":
    unittest.main()
