#include "runner/script_runner.h"

#include <optional>
#include <string>

#include "runner/input_poster.h"
#include "script/key_names.h"
#include "script/leading_number.h"
#include "script/script_step.h"
#include "target/target_entry.h"

namespace keyvora {

ScriptRunner::ScriptRunner(StepList& steps, RunControls& controls, MessagePoster& poster, DelayWaiter& waiter)
    : steps_(steps), controls_(controls), poster_(poster), waiter_(waiter) {}

void ScriptRunner::on_run_hotkey(std::int32_t hotkey_id) {
    if (hotkey_id == run_hotkey_id_) toggle_run();
}

void ScriptRunner::toggle_run() {
    if (ended_) return;  // the main window and its controls are gone
    // The guard holds for stopping too: with the list emptied during a run, the run goes on.
    if (controls_.chosen_target_text().empty() || steps_.row_count() == 0) {
        controls_.beep(kBeepDefault);
        return;
    }
    steps_.set_current_row(-1);
    target_hwnd_ = target_handle_of_entry(controls_.chosen_target_text());
    controls_.set_window_caption(std::to_string(target_hwnd_));
    is_running_ = is_running_ == 0 ? 1 : 0;
    if (is_running_ != 0) {
        start_run();
    } else {
        stop_run();
    }
}

void ScriptRunner::end_run() {
    ended_ = true;
    is_running_ = 0;
}

void ScriptRunner::start_run() {
    controls_.set_target_list_enabled(false);
    controls_.set_run_button_text(kRunButtonRunningText);
    controls_.beep(kBeepInformation);

    // A start while an ended run is still unwinding nests inside it; the two behave as one run,
    // so the platform hears of the run only around the outermost loop.
    if (loop_depth_ == 0) waiter_.run_started();
    ++loop_depth_;
    run_loop();
    --loop_depth_;
    if (loop_depth_ == 0) waiter_.run_ended();
}

void ScriptRunner::stop_run() {
    controls_.set_target_list_enabled(true);
    controls_.set_run_button_text(kRunButtonIdleText);
    controls_.beep(kBeepDefault);
}

void ScriptRunner::run_loop() {
    while (is_running_ != 0) {
        // The pass length only spaces the 1 ms pauses; the next row always follows from the
        // selection, which the user may move, and rows may come and go during a step's wait.
        const int pass_length = steps_.row_count();
        for (int i = 0; i < pass_length; ++i) {
            if (steps_.current_row() >= steps_.row_count() - 1) steps_.set_current_row(-1);
            steps_.set_current_row(steps_.current_row() + 1);
            const std::string step_text = steps_.cell_text(steps_.current_row(), 0);
            const std::string delay_text = steps_.cell_text(steps_.current_row(), 1);
            execute_step(step_text, read_leading_int(delay_text));
            if (is_running_ == 0) break;
        }
        wait_ms(1);
    }
}

void ScriptRunner::execute_step(std::string_view step_text, std::int32_t delay_ms) {
    const std::string payload = step_payload(step_text);
    if (is_key_step(step_text)) {
        post_key(poster_, target_hwnd_, key_code_from_name(payload));
    } else if (const std::optional<MousePoint> point = read_mouse_point(payload)) {
        post_left_click(poster_, target_hwnd_, point->x, point->y);
    }
    // A mouse step without both coordinates sends nothing, but its delay still paces the run.
    wait_ms(delay_ms);
}

void ScriptRunner::wait_ms(std::int32_t ms) {
    // A stop, or the main window going away, ends the wait at once.
    waiter_.wait_ms(ms, [this] { return is_running_ == 0; });
}

}  // namespace keyvora
