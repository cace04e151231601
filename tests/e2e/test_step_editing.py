"""Editing the script through the step list's context menu and the two step dialogs."""

import time
import unittest

from harness import (KEY_DIALOG_CLASS, MENU_ITEMS, MOUSE_DIALOG_CLASS, SCREENSHOT_DIR, KeyvoraTestCase, centre,
                     control, menu_text_bands, wait_for)

ENTER = ["按键：回车键", "1000"]
ESC = ["按键：Esc键", "1000"]
SPACE = ["按键：空格键", "1000"]


class StepEditingTest(KeyvoraTestCase):
    def hotkey_field(self, dialog):
        return control(dialog, class_name="msctls_hotkey32")

    def add_button(self, dialog):
        return next(c for c in dialog["controls"] if c["class"].lower() == "button" and c["text"] in ("添    加", "确定编辑"))

    def test_edit_a_key_step_and_a_mouse_step(self):
        self.add_key_step("a")
        dialog = self.app.open_dialog("添加鼠标", MOUSE_DIALOG_CLASS)
        self.env.move(120, 45)
        self.focus_window(dialog)
        wait_for(lambda: self.field_texts(dialog)[:2] == ["120", "45"], what="the cursor position")
        self.env.hold_key("Return")
        wait_for(lambda: len(self.app.rows()) == 2, what="the mouse step added", seen=self.app.describe)
        self.app.close_dialog(dialog)
        self.assertEqual([["按键：A键", "1000"], ["鼠标：120,45", "1000"]], self.app.rows())

        # The key step: the dialog opens preset from the row and rewrites it.
        dialog = self.app.open_dialog("编辑选择", KEY_DIALOG_CLASS, row=0)
        self.assertEqual("编辑按键信息", dialog["caption"])
        self.assertEqual("确定编辑", self.add_button(dialog)["text"])
        self.assertEqual(0x41, self.hotkey_field(dialog)["hotkey"])
        self.assertEqual(["1000"], self.field_texts(dialog))
        self.focus_window(dialog)
        self.env.click(*centre(self.hotkey_field(dialog)["screen"]))
        self.env.key("b")
        self.set_field(dialog, control(dialog, class_name="Edit"), "500")
        self.env.click(*centre(self.add_button(dialog)["screen"]))
        wait_for(lambda: self.app.dialog(KEY_DIALOG_CLASS) is None, what="the key dialog to close itself")
        self.assertEqual([["按键：B键", "500"], ["鼠标：120,45", "1000"]], self.app.rows())

        # The mouse step: the fields hold the row's numbers and no longer follow the cursor.
        dialog = self.app.open_dialog("编辑选择", MOUSE_DIALOG_CLASS, row=1)
        self.assertEqual("回车键修改鼠标坐标", dialog["caption"])
        self.assertEqual(["120", "45", "1000"], self.field_texts(dialog))
        self.env.move(700, 650)
        time.sleep(0.3)  # many ticks of a cursor-following timer
        self.assertEqual(["120", "45", "1000"], self.field_texts(dialog))
        x_field = min((c for c in dialog["controls"] if c["class"].lower() == "edit"), key=lambda c: c["screen"]["top"])
        self.set_field(dialog, x_field, "130")
        self.env.hold_key("Return")
        wait_for(lambda: self.app.dialog(MOUSE_DIALOG_CLASS) is None, what="the mouse dialog to close itself")
        self.assertEqual([["按键：B键", "500"], ["鼠标：130,45", "1000"]], self.app.rows())

    def field_texts(self, dialog):
        current = self.env.windows(hwnd=dialog["hwnd"])[0]
        edits = sorted((c for c in current["controls"] if c["class"].lower() == "edit"),
                       key=lambda c: c["screen"]["top"])
        return [c["text"] for c in edits]

    def test_inserts_go_below_the_selected_row_and_delete_removes_it(self):
        self.app.menu_command("插入回车键")
        self.app.menu_command("插入 Esc键")
        self.assertEqual([ENTER, ESC], self.app.rows(), "with no selection an insert appends")

        self.app.select_row(0)
        self.app.menu_command("插入空格键", row=0)
        self.assertEqual([ENTER, SPACE, ESC], self.app.rows())
        self.assertEqual(0, self.app.selected_row(), "the selection stays on the row above the insert")

        self.app.select_row(2)
        self.app.menu_command("插入回车键", row=2)
        self.assertEqual([ENTER, SPACE, ESC, ENTER], self.app.rows(), "after the last row an insert appends")
        self.assertEqual(2, self.app.selected_row())

        self.app.menu_command("删除选择", row=1)
        self.assertEqual([ENTER, ESC, ENTER], self.app.rows())
        self.assertEqual(-1, self.app.selected_row())

    def test_row_commands_are_grayed_only_without_a_selection(self):
        expectations = [(None, {"删除选择", "编辑选择"}), (0, set())]
        self.app.menu_command("插入回车键")
        for row, grayed in expectations:
            menu = self.app.open_menu(row)
            states = menu_text_bands(self.env, menu)
            self.env.screenshot(SCREENSHOT_DIR / (f"context-menu-{'row' if row is not None else 'empty'}.png"),
                                menu["screen"])
            self.env.key("Escape")
            wait_for(lambda: not self.env.probe("menu"), what="the menu to close")
            self.assertEqual([item in grayed for item in MENU_ITEMS], states, f"right-click on row {row}")

    def test_key_dialog_refuses_a_missing_key_and_a_zero_delay(self):
        dialog = self.app.open_dialog("添加按键", KEY_DIALOG_CLASS)
        delay = control(dialog, class_name="Edit")
        button = self.add_button(dialog)

        self.focus_window(dialog)
        self.env.click(*centre(self.hotkey_field(dialog)["screen"]))
        self.env.key("Home")  # taken system-wide by the run hotkey, so the field never sees it
        self.env.click(*centre(button["screen"]))  # no key captured, delay 1000
        time.sleep(0.3)
        self.assertEqual(0, self.current(dialog, self.hotkey_field(dialog))["hotkey"])
        self.set_field(dialog, delay, "0")
        self.env.click(*centre(self.hotkey_field(dialog)["screen"]))
        self.env.key("a")
        wait_for(lambda: self.current(dialog, self.hotkey_field(dialog))["hotkey"] == 0x41, what="A in the key field")
        self.env.click(*centre(button["screen"]))  # delay 0
        self.set_field(dialog, delay, "")
        self.env.click(*centre(button["screen"]))  # empty delay
        time.sleep(0.3)
        self.assertEqual([], self.app.rows())
        self.assertIsNotNone(self.app.dialog(KEY_DIALOG_CLASS), "a refused step leaves the dialog open")

        # The delay field takes digits and the minus sign only, at most five of them.
        for typed, shown in [("12a.5", "125"), ("123456", "12345"), ("-100", "-100")]:
            self.set_field(dialog, delay, typed, expect=shown)
        self.env.click(*centre(button["screen"]))
        wait_for(lambda: self.app.rows() == [["按键：A键", "-100"]], what="the step with delay -100",
                 seen=self.app.describe)
        self.assertIsNotNone(self.app.dialog(KEY_DIALOG_CLASS))

    def current(self, window, item):
        now = self.env.windows(hwnd=window["hwnd"])[0]
        return next(c for c in now["controls"] if c["hwnd"] == item["hwnd"])


if __name__ == "__main__":
    unittest.main()
