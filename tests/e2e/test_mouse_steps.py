"""Mouse steps: the dialog follows the cursor, a held Enter adds the step, a run posts the click."""

import time
import unittest

from harness import (MOUSE_DIALOG_CLASS, PARKED_CURSOR, KeyvoraTestCase, wait_for)


def edit_texts(env, dialog):
    current = env.windows(hwnd=dialog["hwnd"])[0]
    edits = sorted((c for c in current["controls"] if c["class"].lower() == "edit"), key=lambda c: c["screen"]["top"])
    return [c["text"] for c in edits]


class MouseStepTest(KeyvoraTestCase):
    recorders_wanted = 1

    def test_dialog_follows_the_cursor_and_the_step_posts_a_click(self):
        dialog = self.app.open_dialog("添加鼠标", MOUSE_DIALOG_CLASS)
        self.assertEqual("回车键添加鼠标坐标", dialog["caption"])
        for x, y in [(300, 200), (517, 433)]:
            self.env.move(x, y)
            wait_for(lambda: edit_texts(self.env, dialog) == [str(x), str(y), "1000"],
                     what=f"the fields to show {x},{y}", seen=lambda: edit_texts(self.env, dialog))

        self.focus_window(dialog)
        self.env.hold_key("Return")
        wait_for(lambda: self.app.rows() == [["鼠标：517,433", "1000"]], what="the mouse step added",
                 seen=self.app.describe)
        time.sleep(0.3)  # a held key must not count as a second press
        self.assertEqual(1, len(self.app.rows()))
        self.assertIsNotNone(self.app.dialog(MOUSE_DIALOG_CLASS), "the dialog stays open in add mode")
        self.app.close_dialog(dialog)

        recorder = self.recorders[0]
        self.app.choose_target(f"丨 {recorder.hwnd}")
        self.env.move(*PARKED_CURSOR)
        self.start_run_with_button()
        packed = 517 | 433 << 16
        clicks = wait_for(lambda: (lambda m: m if len(m) >= 6 else None)(
            [(name, wparam) for _, name, wparam, lparam in recorder.messages() if lparam == packed]),
            timeout=10, what="two clicks at the recorder", seen=recorder.lines)
        self.assertEqual([("WM_MOUSEMOVE", 2), ("WM_LBUTTONDOWN", 1), ("WM_LBUTTONUP", 0)] * 2, clicks[:6])


if __name__ == "__main__":
    unittest.main()
