"""Saving and opening script files through the file dialogs: GBK bytes, line splitting, names."""

import unittest

from harness import FILE_DIALOG_CLASS, ID_OPEN_BUTTON, KeyvoraTestCase, centre, wait_for


def gbk(text):
    return text.encode("gbk")


def script_bytes(rows):
    return b"".join(gbk(step) + gbk("丨") + gbk(delay) + b"\r\n" for step, delay in rows)


class ScriptFileTest(KeyvoraTestCase):
    def make_script(self):
        """Three fixed key steps and one made in the key dialog with its own delay."""
        for item in ("插入回车键", "插入 Esc键", "插入空格键"):
            self.app.menu_command(item)
        self.add_key_step("F5", delay="250")
        rows = [["按键：回车键", "1000"], ["按键：Esc键", "1000"], ["按键：空格键", "1000"], ["按键：F5键", "250"]]
        self.assertEqual(rows, self.app.rows())
        return rows

    def saved(self, path):
        return wait_for(lambda: path.exists() and path.read_bytes(), what=f"{path.name} written",
                        seen=lambda: sorted(p.name for p in self.files.rglob("*")))

    def test_save_writes_gbk_lines_with_crlf_and_the_separator(self):
        rows = self.make_script()
        target = self.files / "script.ini"
        self.app.save_as(target)
        self.assertEqual(script_bytes(rows), self.saved(target))

    def test_open_splits_only_at_crlf_stops_at_a_zero_byte_and_drops_extra_pieces(self):
        source = self.files / "prepared.ini"
        source.write_bytes(gbk("按键：回车键丨1000\n鼠标：1,2丨500\r\n") +   # LF alone is part of the field
                           gbk("按键：Esc键丨2丨3\r\n") +                 # a third piece is dropped
                           gbk("丨7\r\n") +                               # empty step text
                           gbk("按键：A键丨9") + b"\x00" + gbk("按键：B键丨8\r\n"))  # read up to the zero byte
        self.app.open_file(source)
        expected = [["按键：回车键", "1000\n鼠标：1,2"], ["按键：Esc键", "2"], ["", "7"], ["按键：A键", "9"]]
        wait_for(lambda: self.app.rows() == expected, what="the rows of the opened file", seen=self.app.describe)
        self.assertEqual(-1, self.app.selected_row())

        resaved = self.files / "resaved.ini"
        self.app.save_as(resaved)
        self.assertEqual(script_bytes(expected), self.saved(resaved))

    def test_saved_file_names(self):
        """The dialog adds .ini to a name typed without extension; the program adds .ini to a path
        without the lower-case letters ini anywhere, folders included."""
        (self.files / "mini").mkdir()
        self.app.menu_command("插入回车键")
        cases = [
            ("plain", "plain.ini"),
            ("X.INI", "X.INI.ini"),
            ("notes.txt", "notes.txt.ini"),
            ("mini/notes.txt", "mini/notes.txt"),
            ("mini/noext", "mini/noext.ini"),
        ]
        expected_bytes = script_bytes([["按键：回车键", "1000"]])
        for typed, written in cases:
            with self.subTest(typed=typed):
                self.app.save_as(self.files / typed)
                self.assertEqual(expected_bytes, self.saved(self.files / written))
        made = sorted(str(p.relative_to(self.files)) for p in self.files.rglob("*") if p.is_file())
        self.assertEqual(sorted(written for _, written in cases), made)

    def test_cancelled_open_keeps_the_rows_and_an_empty_list_saves_an_empty_file(self):
        self.app.menu_command("插入回车键")
        self.app.click_control(ID_OPEN_BUTTON)
        dialog = self.app.file_dialog()
        cancel = next(c for c in dialog["controls"] if c["class"].lower() == "button" and c["text"] == "取消")
        self.env.click(*centre(cancel["screen"]))
        wait_for(lambda: self.app.dialog(FILE_DIALOG_CLASS) is None, what="the open dialog to close")
        self.assertEqual([["按键：回车键", "1000"]], self.app.rows())

        self.app.menu_command("删除选择", row=0)
        empty = self.files / "empty.ini"
        empty.write_bytes(b"old contents\r\n")
        self.app.save_as(empty, replace_existing=True)
        wait_for(lambda: empty.read_bytes() == b"", what="the file emptied", seen=empty.read_bytes)


if __name__ == "__main__":
    unittest.main()
