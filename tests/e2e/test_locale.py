"""Keyvora under a Wine whose locale is not Chinese: the texts it shows and the bytes it saves are the
same, because it converts with code page 936 itself."""

import os
import unittest

from harness import WORK_DIR, App, Environment, KeyvoraTestCase, control, wait_for

BUTTONS = {1003: "执行脚本(Home键)", 1004: "打开脚本", 1005: "保存脚本", 1006: "使用说明"}


class LocaleTest(KeyvoraTestCase):
    def test_texts_and_saved_bytes_do_not_depend_on_the_locale(self):
        shown, saved = {}, {}
        for lang, env in [("zh_CN.UTF-8", self.env), ("C.UTF-8", None)]:
            with self.subTest(lang=lang):
                if env is None:
                    self.app.stop()
                    prefix = os.environ.get("KEYVORA_E2E_PREFIX_C", str(WORK_DIR / "prefix-c"))
                    env = Environment(prefix, lang="C.UTF-8", display=self.env.display).start()
                    self.addCleanup(env.stop)
                    self.app = App(env).start()
                main = self.app.main()
                shown[lang] = (main["caption"], {i: control(main, i)["text"] for i in BUTTONS})
                self.app.menu_command("插入回车键")
                self.app.menu_command("插入 Esc键")
                path = self.files / f"{lang}.ini"
                self.app.save_as(path)
                saved[lang] = wait_for(lambda: path.exists() and path.read_bytes(), what=f"{path.name} written")
                self.assertEqual(("Keyvora", BUTTONS), shown[lang])
                self.assertEqual("按键：回车键丨1000\r\n按键：Esc键丨1000\r\n".encode("gbk"), saved[lang])
                if env is not self.env:
                    self.app.stop()


if __name__ == "__main__":
    unittest.main()
