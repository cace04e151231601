#include "ui/mouse_step_dialog.h"

#include <string>
#include <vector>

#include "script/gbk_text.h"
#include "script/script_step.h"
#include "script/text_rules.h"
#include "ui/control_ids.h"
#include "ui/integer_field.h"
#include "ui/step_dialogs.h"
#include "win32/window_text.h"

namespace keyvora::ui {

namespace {

constexpr std::string_view kDesignCaption = "\xCC\xED\xBC\xD3\xCA\xF3\xB1\xEA\xD0\xC5\xCF\xA2";  // 添加鼠标信息
constexpr std::string_view kAddCaption =
    "\xBB\xD8\xB3\xB5\xBC\xFC\xCC\xED\xBC\xD3\xCA\xF3\xB1\xEA\xD7\xF8\xB1\xEA";  // 回车键添加鼠标坐标
constexpr std::string_view kEditCaption =
    "\xBB\xD8\xB3\xB5\xBC\xFC\xD0\xDE\xB8\xC4\xCA\xF3\xB1\xEA\xD7\xF8\xB1\xEA";  // 回车键修改鼠标坐标
constexpr std::string_view kXLabel = "x\xD7\xF8\xB1\xEA\xA3\xBA";              // x坐标：
constexpr std::string_view kYLabel = "y\xD7\xF8\xB1\xEA\xA3\xBA";              // y坐标：
constexpr std::string_view kDelayLabel = "\xD1\xD3 \xCA\xB1\xA3\xBA";          // 延 时：
constexpr std::string_view kCoordinateSeparator = ",";

constexpr int kOuterWidth = 182;
constexpr int kOuterHeight = 144;
constexpr int kXFieldId = 101;
constexpr int kYFieldId = 102;
constexpr int kDelayFieldId = 103;

struct Box {
    int x, y, width, height;
};
constexpr Box kGroup{13, 6, 150, 99};            // 分组框1
constexpr Box kXLabelBox{14, 20, 36, 18};        // 标签1, inside the group
constexpr Box kXFieldBox{52, 19, 82, 20};        // 编辑框_x
constexpr Box kYLabelBox{14, 43, 36, 18};        // 标签2
constexpr Box kYFieldBox{52, 42, 82, 20};        // 编辑框_y
constexpr Box kDelayLabelBox{14, 67, 36, 18};    // 标签3
constexpr Box kDelayFieldBox{52, 66, 82, 20};    // 编辑框_延时

HWND add_integer_field(HWND field) {
    make_integer_field(field);
    return field;
}

}  // namespace

MouseStepDialog::MouseStepDialog(StepList& steps, int edit_mode) : steps_(steps), edit_mode_(edit_mode) {}

bool MouseStepDialog::open(HWND owner) {
    if (!create_frame(kMouseStepDialogClass, kDesignCaption, kOuterWidth, kOuterHeight, owner)) return false;
    add_controls();
    show();
    on_created();
    return true;
}

void MouseStepDialog::add_controls() {
    group_ = add_group_box(window(), kGroup.x, kGroup.y, kGroup.width, kGroup.height);
    add_label(group_, kXLabel, kXLabelBox.x, kXLabelBox.y, kXLabelBox.width, kXLabelBox.height);
    x_field_ = add_integer_field(
        add_edit(group_, kXFieldId, {}, kXFieldBox.x, kXFieldBox.y, kXFieldBox.width, kXFieldBox.height));
    add_label(group_, kYLabel, kYLabelBox.x, kYLabelBox.y, kYLabelBox.width, kYLabelBox.height);
    y_field_ = add_integer_field(
        add_edit(group_, kYFieldId, {}, kYFieldBox.x, kYFieldBox.y, kYFieldBox.width, kYFieldBox.height));
    add_label(group_, kDelayLabel, kDelayLabelBox.x, kDelayLabelBox.y, kDelayLabelBox.width, kDelayLabelBox.height);
    delay_field_ = add_integer_field(add_edit(group_, kDelayFieldId, gbk::kDefaultDelay, kDelayFieldBox.x,
                                              kDelayFieldBox.y, kDelayFieldBox.width, kDelayFieldBox.height));
}

void MouseStepDialog::on_created() {
    fit_window_to_group(window(), group_);
    if (edit_mode_ != 0) {
        win32::set_window_text(window(), kEditCaption);
        const int row = steps_.current_row();
        // A payload with fewer than two pieces fills what it has and leaves the other field empty.
        const std::vector<std::string> pieces = split_text(step_payload(steps_.cell_text(row, 0)), kCoordinateSeparator);
        win32::set_window_text(x_field_, pieces.size() > 0 ? pieces[0] : std::string{});
        win32::set_window_text(y_field_, pieces.size() > 1 ? pieces[1] : std::string{});
        win32::set_window_text(delay_field_, steps_.cell_text(row, 1));
    } else {
        win32::set_window_text(window(), kAddCaption);
        ::SetTimer(window(), kCursorTimer, kTimerPeriodMs, nullptr);
    }
    ::SetTimer(window(), kEnterTimer, kTimerPeriodMs, nullptr);
}

LRESULT MouseStepDialog::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_TIMER) {
        if (wparam == kCursorTimer) follow_cursor();
        if (wparam == kEnterTimer) poll_enter();
        return 0;
    }
    return DialogFrame::handle_message(message, wparam, lparam);
}

void MouseStepDialog::follow_cursor() {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    win32::set_window_text(x_field_, std::to_string(cursor.x));
    ::GetCursorPos(&cursor);
    win32::set_window_text(y_field_, std::to_string(cursor.y));
}

void MouseStepDialog::poll_enter() {
    if (is_new_press(::GetAsyncKeyState(VK_RETURN))) take_point();
}

void MouseStepDialog::take_point() {
    const std::string step_text = make_mouse_step_text(win32::window_text(x_field_), win32::window_text(y_field_));
    const std::string delay = win32::window_text(delay_field_);
    if (edit_mode_ != 0) {
        // With no row selected nothing is written; the dialog closes all the same.
        const int row = steps_.current_row();
        if (row >= 0) {
            steps_.set_cell_text(row, 0, step_text);
            steps_.set_cell_text(row, 1, delay);
        }
        close();
        return;
    }
    const int row = steps_.insert_row(-1);
    steps_.set_cell_text(row, 0, step_text);
    steps_.set_cell_text(row, 1, delay);
    ::MessageBeep(MB_ICONINFORMATION);
}

void run_mouse_step_dialog(HWND owner, StepList& steps, int edit_mode) {
    MouseStepDialog dialog(steps, edit_mode);
    if (dialog.open(owner)) dialog.run_modal();
}

}  // namespace keyvora::ui
