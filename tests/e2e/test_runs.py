"""Starting and stopping runs: the guard, the first row, stopping in a long delay, closing the window
during a run, and a second instance without the Home hotkey."""

import time
import unittest

from harness import (ID_RUN_BUTTON, ID_TARGET_LIST, RUN_BUSY, RUN_IDLE, App, KeyvoraTestCase, centre, control,
                     wait_for)


class RunTest(KeyvoraTestCase):
    recorders_wanted = 1

    @property
    def recorder(self):
        return self.recorders[0]

    def wait_for_key_downs(self, count, timeout=10):
        return wait_for(lambda: (lambda d: d if len(d) >= count else None)(self.recorder.key_downs()),
                        timeout=timeout, what=f"{count} key presses at the recorder", seen=self.recorder.lines)

    def assert_refused(self, situation):
        self.app.click_control(ID_RUN_BUTTON)
        time.sleep(1.2)  # a run that had started would have posted its first step by now
        main = self.app.main()
        self.assertEqual(RUN_IDLE, control(main, ID_RUN_BUTTON)["text"], situation)
        self.assertEqual("Keyvora", main["caption"], situation)
        self.assertTrue(control(main, ID_TARGET_LIST)["enabled"], situation)
        self.assertEqual([], self.recorder.messages(("WM_KEYDOWN", "WM_KEYUP")), situation)

    def test_start_is_refused_without_a_target_or_without_rows(self):
        self.app.menu_command("插入回车键")
        self.assert_refused("a row but no target chosen")
        self.app.choose_target(f"丨 {self.recorder.hwnd}")
        self.app.menu_command("删除选择", row=0)
        self.assert_refused("a target but no rows")

    def test_a_run_starts_at_row_zero_whatever_row_is_selected(self):
        self.app.menu_command("插入回车键")
        self.app.menu_command("插入空格键")
        self.app.choose_target(f"丨 {self.recorder.hwnd}")
        self.app.select_row(1)
        self.start_run_with_button()
        downs = self.wait_for_key_downs(3)
        self.assertEqual([0x0D, 0x20, 0x0D], [wparam for _, _, wparam, _ in downs[:3]])
        self.app.click_control(ID_RUN_BUTTON)
        wait_for(lambda: self.app.run_button_text() == RUN_IDLE, what="the run to stop", seen=self.app.describe)

    def test_stop_during_a_long_delay_takes_effect_at_once(self):
        self.add_key_step("a", delay="5000")
        self.app.choose_target(f"丨 {self.recorder.hwnd}")
        self.start_run_with_button()
        button = centre(control(self.app.main(), ID_RUN_BUTTON)["screen"])
        first = self.wait_for_key_downs(1)
        seen_at = time.monotonic()
        self.env.click(*button)
        clicked_at = time.monotonic()
        wait_for(lambda: self.app.run_button_text() == RUN_IDLE, timeout=10, interval=0.02, what="the run to stop",
                 seen=self.app.describe)
        stopped_after = time.monotonic() - clicked_at
        print(f"\n  stop clicked in a 5000 ms delay: button idle {stopped_after * 1000:.0f} ms after the click "
              "(the probe's reading time included)")
        self.assertLess(stopped_after, 2.5, "the stop waited for the delay to pass")
        self.assertTrue(control(self.app.main(), ID_TARGET_LIST)["enabled"])
        self.assertEqual(-1, self.app.selected_row())
        # Past the moment the next step was due: nothing more may arrive.
        time.sleep(max(0.0, 5.6 - (time.monotonic() - seen_at)))
        self.assertEqual(first[:1], self.recorder.key_downs())

    def test_closing_the_main_window_during_a_run_ends_the_program(self):
        self.app.menu_command("插入回车键")
        self.app.choose_target(f"丨 {self.recorder.hwnd}")
        self.start_run_with_button()
        self.wait_for_key_downs(1)
        clicked_at = time.monotonic()
        self.app.click_close_button(self.app.main())
        wait_for(lambda: not self.app.alive(), timeout=10, what="the program to exit", seen=self.app.describe)
        print(f"\n  closed during a run: process ended {(time.monotonic() - clicked_at) * 1000:.0f} ms after the click")
        self.assertLess(time.monotonic() - clicked_at, 5.0)
        after_exit = len(self.recorder.key_downs())
        time.sleep(1.2)
        self.assertEqual(after_exit, len(self.recorder.key_downs()))

    def test_a_second_instance_runs_with_its_button_while_home_stays_with_the_first(self):
        self.app.menu_command("插入回车键")
        self.app.choose_target(f"丨 {self.recorder.hwnd}")
        second = App(self.env).start()  # opens over the first, at the same place
        self.extra_apps.append(second)
        second.menu_command("插入空格键")
        second.choose_target(f"丨 {self.recorder.hwnd}")

        self.app.press_home(self.recorder.x_window())
        wait_for(lambda: self.app.run_button_text() == RUN_BUSY, what="Home to start the first", seen=self.app.describe)
        self.assertEqual(RUN_IDLE, second.run_button_text())

        second.click_control(ID_RUN_BUTTON)
        wait_for(lambda: second.run_button_text() == RUN_BUSY, what="the second's button to start it",
                 seen=second.describe)
        wait_for(lambda: {0x0D, 0x20} <= {w for _, _, w, _ in self.recorder.key_downs()},
                 what="presses from both instances", seen=self.recorder.lines)

        self.app.press_home(self.recorder.x_window())
        wait_for(lambda: self.app.run_button_text() == RUN_IDLE, what="Home to stop the first", seen=self.app.describe)
        self.assertEqual(RUN_BUSY, second.run_button_text())
        second.click_control(ID_RUN_BUTTON)
        wait_for(lambda: second.run_button_text() == RUN_IDLE, what="the second's button to stop it",
                 seen=second.describe)


if __name__ == "__main__":
    unittest.main()
