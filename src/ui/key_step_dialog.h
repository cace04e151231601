// The key step dialog as an object, for run_key_step_dialog and for tests that drive it without
// its modal loop.
#pragma once

#include <windows.h>

#include "script/step_list.h"
#include "ui/dialog_frame.h"
#include "ui/hotkey_box.h"

namespace keyvora::ui {

class KeyStepDialog final : public DialogFrame {
public:
    static constexpr int kDelayFieldId = 101;  // 编辑框1
    static constexpr int kConfirmId = 102;     // 按钮1

    // edit_mode 0 appends steps, anything else rewrites the selected row.
    KeyStepDialog(StepList& steps, HotkeyBox& hotkey_box, int edit_mode);

    // Creates and shows the window with its controls, the hotkey field attached and focused.
    bool open(HWND owner);

    // The click on 按钮1: checks the key and the delay, then appends or rewrites a row.
    void confirm();

    HWND group() const { return group_; }
    HWND delay_field() const { return delay_field_; }
    HWND confirm_button() const { return confirm_button_; }

private:
    void add_controls();
    void on_created();
    void on_command(int id, int code, HWND control) override;

    StepList& steps_;
    HotkeyBox& hotkey_box_;
    int edit_mode_;
    HWND group_ = nullptr;         // 分组框1
    HWND key_label_ = nullptr;     // 标签1
    HWND delay_field_ = nullptr;   // 编辑框1
    HWND confirm_button_ = nullptr;  // 按钮1
};

}  // namespace keyvora::ui
