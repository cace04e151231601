// The mouse step dialog as an object, for run_mouse_step_dialog and for tests that drive it
// without its modal loop or the real Enter key.
#pragma once

#include <windows.h>

#include "script/step_list.h"
#include "ui/dialog_frame.h"

namespace keyvora::ui {

class MouseStepDialog final : public DialogFrame {
public:
    static constexpr UINT_PTR kCursorTimer = 1;  // 时钟1
    static constexpr UINT_PTR kEnterTimer = 2;   // 时钟2
    static constexpr UINT kTimerPeriodMs = 10;

    // edit_mode 0 appends steps, anything else rewrites the selected row.
    MouseStepDialog(StepList& steps, int edit_mode);

    // Creates and shows the window, fills the fields and starts the timers.
    bool open(HWND owner);

    // One tick of 时钟1: the cursor position into the x and y fields.
    void follow_cursor();
    // One tick of 时钟2: takes the point when the Enter key state reports a new press.
    void poll_enter();
    // What a new Enter press does: appends a step (and beeps) or rewrites the selected row and closes.
    void take_point();

    // Only "down now and pressed since the previous query" (0x8001) counts as a press.
    static constexpr bool is_new_press(SHORT key_state) { return key_state == -32767; }

    HWND group() const { return group_; }
    HWND x_field() const { return x_field_; }
    HWND y_field() const { return y_field_; }
    HWND delay_field() const { return delay_field_; }

private:
    void add_controls();
    void on_created();
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam) override;

    StepList& steps_;
    int edit_mode_;
    HWND group_ = nullptr;        // 分组框1
    HWND x_field_ = nullptr;      // 编辑框_x
    HWND y_field_ = nullptr;      // 编辑框_y
    HWND delay_field_ = nullptr;  // 编辑框_延时
};

}  // namespace keyvora::ui
