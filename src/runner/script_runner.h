// Starting, driving and stopping a run. The loop runs inside the handler that started it; every
// other handler of the program, a stop included, runs nested inside the waits between steps.
#pragma once

#include <cstdint>
#include <string_view>

#include "runner/run_ports.h"
#include "script/step_list.h"

namespace keyvora {

// Captions of the run button while idle and while running.
inline constexpr std::string_view kRunButtonIdleText =
    "\xD6\xB4\xD0\xD0\xBD\xC5\xB1\xBE(Home\xBC\xFC)";  // 执行脚本(Home键)
inline constexpr std::string_view kRunButtonRunningText =
    "\xCD\xA3\xD6\xB9\xD6\xB4\xD0\xD0(Home\xBC\xFC)";  // 停止执行(Home键)

class ScriptRunner {
public:
    ScriptRunner(StepList& steps, RunControls& controls, MessagePoster& poster, DelayWaiter& waiter);

    // Start when idle, stop when running; refused with a beep when no target is chosen or the
    // list is empty. A start returns only when the run has ended.
    void toggle_run();
    void on_run_hotkey(std::int32_t hotkey_id);
    // The main window is going away: no further step is sent and every loop returns at once,
    // without touching the controls. Later toggles are ignored.
    void end_run();

    void set_run_hotkey_id(std::int32_t id) { run_hotkey_id_ = id; }
    std::int32_t run_hotkey_id() const { return run_hotkey_id_; }
    bool is_running() const { return is_running_ != 0; }
    WindowId target_hwnd() const { return target_hwnd_; }

    // Sends one step to target_hwnd and waits out its delay.
    void execute_step(std::string_view step_text, std::int32_t delay_ms);

private:
    void start_run();
    void stop_run();
    void run_loop();
    void wait_ms(std::int32_t ms);

    StepList& steps_;
    RunControls& controls_;
    MessagePoster& poster_;
    DelayWaiter& waiter_;
    int is_running_ = 0;
    WindowId target_hwnd_ = 0;
    std::int32_t run_hotkey_id_ = 0;
    int loop_depth_ = 0;  // run loops on the call stack; a start during an unwinding run nests
    bool ended_ = false;
};

}  // namespace keyvora
