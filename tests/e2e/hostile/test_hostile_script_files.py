"""Malformed and huge script files opened through the real open dialog: each opens without a crash in
bounded time, gives exactly the rows the file rules give (checked through a save, byte for byte, against
rows worked out here from the rules), and leaves the program working."""

import random
import time
import unittest

from harness import wait_for

from .support import SEPARATOR, HostileTestCase, file_of_rows, gbk, rows_of_file

# Two GBK characters, B0 D8 and AD 40, whose bytes hold the separator's D8 AD across their boundary:
# a scan that tries the separator at every byte would cut here.
FALSE_SEPARATOR = b"\xb0\xd8\xad\x40"
assert len(FALSE_SEPARATOR.decode("gbk")) == 2

SMALL_FILES = [
    ("only the separator", SEPARATOR * 100_000),
    ("a lone lead byte at the end", gbk("按键：A键丨250\r\n鼠标：3,4丨7") + b"\xb0"),
    ("a lone lead byte before CR LF", gbk("按键：回车键丨5") + b"\xc1\r\n" + gbk("按键：Esc键丨6\r\n")),
    ("a zero byte in the middle", gbk("按键：A键丨1\r\n按键：B") + b"\x00" + gbk("键丨2\r\n按键：C键丨3\r\n")),
    ("LF-only line ends", gbk("按键：A键丨1\n按键：B键丨2\n按键：C键丨3\n")),
    ("lines with fewer than two pieces", gbk("\r\n按键：A键\r\n丨\r\n按键：B键丨\r\n丨9\r\n")),
    ("a separator across a character boundary", gbk("鼠标：") + FALSE_SEPARATOR + gbk("丨12") + FALSE_SEPARATOR
     + gbk("丨3\r\n")),
    ("bytes that are no GBK character", b"\x80\xff" + SEPARATOR + b"1\x81\x7f2\r\n"),
]


def short_lines(count):
    lines = []
    for i in range(count):
        if i % 3 == 0:
            lines.append(gbk(f"按键：A键丨{i}\r\n"))
        elif i % 3 == 1:
            lines.append(gbk(f"鼠标：{i % 1280},{i % 1024}丨{i % 50}\r\n"))
        else:
            lines.append(gbk(f"按键：回车键丨{i}丨x\r\n"))
    return b"".join(lines)


def long_lines(count, length):
    """Lines of about length bytes: a long step text of Chinese, ASCII and false separators, a long
    delay text and a third piece that must be dropped."""
    unit = gbk("鼠标：按键") + FALSE_SEPARATOR + b"abc 123,"
    lines = []
    for i in range(count):
        step = (unit * (length // 2 // len(unit) + 1))[: length // 2 - length // 2 % 2]
        delay = str(i).encode() * (length // 2 // max(1, len(str(i))))
        lines.append(step + SEPARATOR + delay[: length // 2 - 4] + SEPARATOR + b"dropped\r\n")
    return b"".join(lines)


class HostileScriptFileTest(HostileTestCase):
    recorders_wanted = 1

    def assert_opens_as_the_rules_say(self, name, data, open_timeout=60.0):
        source = self.files / f"{name.replace(' ', '-')}.ini"
        source.write_bytes(data)
        expected = rows_of_file(data)
        since = self.open_script_file(source)
        self.wait_rows(len(expected), timeout=open_timeout, since=since)
        saved = self.saved_bytes(self.files / f"{source.stem}-saved.ini")
        self.assertEqual(file_of_rows(expected), saved, f"{name}: rows {expected[:5]!r}")

    def test_small_hostile_files_give_the_rows_of_the_rules(self):
        for name, data in SMALL_FILES:
            with self.subTest(name):
                self.assert_opens_as_the_rules_say(name, data)
        self.assert_keeps_working()

        # A key step still reaches a target after all of it.
        source = self.files / "after.ini"
        source.write_bytes(gbk("按键：F5键丨50\r\n"))
        self.open_script_file(source)
        self.wait_rows(1, timeout=20)
        recorder = self.recorders[0]
        self.choose_target_and_run(f"丨 {recorder.hwnd}")
        wait_for(lambda: len(recorder.key_downs()) >= 2, what="F5 posted to the recorder", seen=recorder.lines)
        self.stop_with_button()
        self.assertEqual({0x74}, {wparam for _, _, wparam, _ in recorder.key_downs()})

    def test_fifty_megabytes_of_random_bytes(self):
        seed = int(time.time())
        generator = random.Random(seed)
        raw = generator.randbytes(50 << 20)
        cases = [("raw", raw), ("without zero bytes", raw.replace(b"\x00", b"\x01"))]
        for name, data in cases:
            with self.subTest(name, seed=seed):
                source = self.files / f"random-{name.replace(' ', '-')}.ini"
                source.write_bytes(data)
                expected = rows_of_file(data)
                since = self.open_script_file(source)
                self.wait_rows(len(expected), timeout=120, since=since)
        self.assert_keeps_working()

    def test_a_million_short_lines(self):
        self.assert_opens_as_the_rules_say("a million lines", short_lines(1_000_000), open_timeout=240)
        self.assert_keeps_working()

    def test_lines_of_a_hundred_thousand_bytes(self):
        self.assert_opens_as_the_rules_say("long lines", long_lines(20, 100_000), open_timeout=120)
        self.assert_keeps_working()


if __name__ == "__main__":
    unittest.main()
