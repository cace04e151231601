// The program's only top-level window: the target drop-down, the step list, the run, open, save
// and instructions buttons, and the hidden label that receives the Home hotkey. It owns the runner
// and shows the state of a run in its controls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "runner/script_runner.h"
#include "ui/object_window.h"
#include "ui/script_file_commands.h"
#include "ui/step_list_view.h"
#include "win32/win32_ports.h"

namespace keyvora::ui {

class HotkeyBox;

class MainWindow final : private RunControls {
public:
    static constexpr int kRunHotkeyId = 33001;
    // The client area ends as far below the button row as the row is from the left edge.
    static constexpr int kFittedClientHeight = 222 + 32 + 8;

    explicit MainWindow(HotkeyBox& hotkey_box);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the window class and creates the window, centred on the screen; the creation
    // handler fills the target list, registers Home and fits the height. False on failure.
    bool create(HINSTANCE instance);
    void show(int show_command);

    HWND handle() const { return window_; }
    StepListView& steps() { return steps_; }
    ScriptRunner& runner() { return runner_; }

private:
    friend LRESULT CALLBACK object_window_procedure<MainWindow>(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK hotkey_label_procedure(HWND label, UINT message, WPARAM wparam, LPARAM lparam,
                                                   UINT_PTR subclass_id, DWORD_PTR owner);
    LRESULT handle_message(UINT message, WPARAM wparam, LPARAM lparam);

    void on_create();
    void on_destroy();
    void on_command(int id, int code);
    LRESULT on_notify(NMHDR& header);
    void on_hotkey(WPARAM hotkey_id);
    void on_instructions();

    void create_controls();
    HWND add_button(int id, std::string_view gbk_text, int x, int y, int width, int height);
    void register_run_hotkey();
    void fit_height_to_buttons();

    // RunControls: the runner shows a run's state through these.
    std::string chosen_target_text() const override;
    void set_target_list_enabled(bool enabled) override;
    void set_run_button_text(std::string_view gbk_text) override;
    void set_window_caption(std::string_view gbk_text) override;
    void beep(unsigned sound) override;

    HotkeyBox& hotkey_box_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    HWND target_list_ = nullptr;   // 组合框1
    HWND run_button_ = nullptr;    // 按钮_执行
    HWND hotkey_label_ = nullptr;  // 标签1
    std::int32_t last_hotkey_id_ = 0;

    StepListView steps_;  // 超级列表框1
    win32::Win32Poster poster_;
    win32::Win32Waiter waiter_;
    win32::Win32SystemSource system_source_;
    ScriptFileDialog file_dialog_;  // 通用对话框1
    ScriptRunner runner_;
};

}  // namespace keyvora::ui
