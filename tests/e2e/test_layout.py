"""The windows as a user sees them: control places and texts, client sizes, and screenshots of the
main window with a script in it and of both step dialogs (kept in the screenshot folder)."""

import unittest

from harness import (KEY_DIALOG_CLASS, MOUSE_DIALOG_CLASS, SCREENSHOT_DIR, KeyvoraTestCase, control)

MAIN_CONTROLS = [  # id, kind, left, top, width, height, text
    (1001, "ComboBox", 8, 12, 292, None, ""),
    (1002, "SysListView32", 8, 42, 292, 174, ""),
    (1003, "Button", 8, 222, 104, 32, "执行脚本(Home键)"),
    (1004, "Button", 114, 222, 60, 32, "打开脚本"),
    (1005, "Button", 176, 222, 60, 32, "保存脚本"),
    (1006, "Button", 240, 222, 60, 32, "使用说明"),
]


def texts(window, kind):
    return sorted(c["text"] for c in window["controls"] if c["class"].lower() == kind.lower() and c["text"])


class LayoutTest(KeyvoraTestCase):
    def client_pixel(self, window, x, y):
        client = window["client"]
        return self.env.pixels({"left": client["left"] + x, "top": client["top"] + y, "width": 1, "height": 1})[0][0]

    def test_main_window_layout_with_a_script(self):
        for item in ("插入回车键", "插入 Esc键", "插入空格键"):
            self.app.menu_command(item)
        self.add_key_step("a")
        main = self.app.main()
        self.assertEqual("Keyvora", main["caption"])
        self.assertEqual(262, main["client"]["height"])
        self.assertEqual(315, main["outer"]["width"])
        for control_id, kind, left, top, width, height, text in MAIN_CONTROLS:
            with self.subTest(control=control_id):
                c = control(main, control_id)
                self.assertEqual(kind.lower(), c["class"].lower())
                self.assertEqual((left, top, width), (c["in_top"]["left"], c["in_top"]["top"], c["in_top"]["width"]))
                if height is not None:
                    self.assertEqual(height, c["in_top"]["height"])
                self.assertEqual(text, c["text"])
        # The hotkey label lies below the client area, out of sight.
        self.assertGreaterEqual(control(main, 1007)["in_top"]["top"], main["client"]["height"])
        # Win32 screen coordinates are X root coordinates here: the X window has the same geometry.
        self.assertIsNotNone(self.env.x_window_at(main))
        self.app.select_row(1)
        self.env.screenshot(SCREENSHOT_DIR / "main-window.png", self.app.main()["outer"])

    def test_step_dialog_sizes_and_texts(self):
        cases = [
            ("添加按键", KEY_DIALOG_CLASS, "添加按键信息", (176, 142), ["按键：", "延时："], ["添    加"],
             "key-step-dialog.png"),
            ("添加鼠标", MOUSE_DIALOG_CLASS, "回车键添加鼠标坐标", (176, 118), ["x坐标：", "y坐标：", "延 时："], [],
             "mouse-step-dialog.png"),
        ]
        for item, class_name, caption, size, labels, buttons, shot in cases:
            with self.subTest(dialog=class_name):
                dialog = self.app.open_dialog(item, class_name)
                self.assertEqual(caption, dialog["caption"])
                self.assertEqual(size, (dialog["client"]["width"], dialog["client"]["height"]))
                self.assertEqual(sorted(labels), texts(dialog, "Static"))
                self.assertEqual(buttons, texts(dialog, "Button"))
                self.env.screenshot(SCREENSHOT_DIR / shot, dialog["outer"])
                # Inside the group box, right of the fields and between two of them, the dialog's own
                # face colour shows, as outside the group box.
                face, inside = self.client_pixel(dialog, 4, 4), self.client_pixel(dialog, 155, 46)
                self.app.close_dialog(dialog)
                self.assertEqual(face, inside, "the group box's inside is painted")


if __name__ == "__main__":
    unittest.main()
