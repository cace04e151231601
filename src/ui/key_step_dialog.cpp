#include "ui/key_step_dialog.h"

#include <cmath>
#include <string>

#include "script/gbk_text.h"
#include "script/key_names.h"
#include "script/leading_number.h"
#include "script/script_step.h"
#include "ui/control_ids.h"
#include "ui/integer_field.h"
#include "ui/step_dialogs.h"
#include "win32/window_text.h"

namespace keyvora::ui {

namespace {

constexpr std::string_view kAddCaption = "\xCC\xED\xBC\xD3\xB0\xB4\xBC\xFC\xD0\xC5\xCF\xA2";   // 添加按键信息
constexpr std::string_view kEditCaption = "\xB1\xE0\xBC\xAD\xB0\xB4\xBC\xFC\xD0\xC5\xCF\xA2";  // 编辑按键信息
constexpr std::string_view kAddButton = "\xCC\xED    \xBC\xD3";                                 // 添    加
constexpr std::string_view kEditButton = "\xC8\xB7\xB6\xA8\xB1\xE0\xBC\xAD";                    // 确定编辑
constexpr std::string_view kKeyLabel = "\xB0\xB4\xBC\xFC\xA3\xBA";                              // 按键：
constexpr std::string_view kDelayLabel = "\xD1\xD3\xCA\xB1\xA3\xBA";                            // 延时：

constexpr int kOuterWidth = 182;
constexpr int kOuterHeight = 174;
constexpr double kSmallestDelay = 1e-7;

struct Box {
    int x, y, width, height;
};
constexpr Box kGroup{13, 6, 150, 91};        // 分组框1
constexpr Box kKeyLabelBox{14, 20, 36, 18};  // 标签1, inside the group
constexpr Box kDelayLabelBox{14, 53, 36, 18};  // 标签2, inside the group
constexpr Box kDelayFieldBox{48, 52, 84, 20};  // 编辑框1, inside the group
constexpr Box kButtonBox{13, 102, 150, 32};    // 按钮1

RECT rect_in_parent(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

KeyStepDialog::KeyStepDialog(StepList& steps, HotkeyBox& hotkey_box, int edit_mode)
    : steps_(steps), hotkey_box_(hotkey_box), edit_mode_(edit_mode) {}

bool KeyStepDialog::open(HWND owner) {
    if (!create_frame(kKeyStepDialogClass, kAddCaption, kOuterWidth, kOuterHeight, owner)) return false;
    add_controls();
    show();
    on_created();
    return true;
}

void KeyStepDialog::add_controls() {
    group_ = add_group_box(window(), kGroup.x, kGroup.y, kGroup.width, kGroup.height);
    key_label_ = add_label(group_, kKeyLabel, kKeyLabelBox.x, kKeyLabelBox.y, kKeyLabelBox.width, kKeyLabelBox.height);
    add_label(group_, kDelayLabel, kDelayLabelBox.x, kDelayLabelBox.y, kDelayLabelBox.width, kDelayLabelBox.height);
    delay_field_ = add_edit(group_, kDelayFieldId, gbk::kDefaultDelay, kDelayFieldBox.x, kDelayFieldBox.y,
                            kDelayFieldBox.width, kDelayFieldBox.height);
    make_integer_field(delay_field_);
    confirm_button_ =
        add_button(window(), kConfirmId, kAddButton, kButtonBox.x, kButtonBox.y, kButtonBox.width, kButtonBox.height);
}

void KeyStepDialog::on_created() {
    RECT button = rect_in_parent(confirm_button_);
    fit_window_to_group(window(), group_, button.bottom - button.top);

    // The hotkey field sits on the row of 标签1, with the left edge and width of 编辑框1.
    const RECT delay = rect_in_parent(delay_field_);
    const RECT key_label = rect_in_parent(key_label_);
    hotkey_box_.create(group_, delay.left, key_label.top, delay.right - delay.left);
    hotkey_box_.set_focus();

    const int row = steps_.current_row();
    const std::string key_name = step_payload(steps_.cell_text(row, 0));
    if (edit_mode_ == 0) {
        win32::set_window_text(confirm_button_, kAddButton);
        win32::set_window_text(window(), kAddCaption);
        return;
    }
    win32::set_window_text(confirm_button_, kEditButton);
    win32::set_window_text(window(), kEditCaption);
    hotkey_box_.set_key(HotkeyValue{static_cast<std::uint8_t>(key_code_from_name(key_name) & 0xFF), 0});
    win32::set_window_text(delay_field_, steps_.cell_text(row, 1));
}

void KeyStepDialog::on_command(int id, int code, HWND) {
    if (id == kConfirmId && code == BN_CLICKED) confirm();
}

void KeyStepDialog::confirm() {
    const HotkeyValue key = hotkey_box_.get_key();
    if (key.key_code == 0) {
        ::MessageBeep(MB_OK);
        return;
    }
    const std::string delay = win32::window_text(delay_field_);
    if (std::fabs(read_leading_number(delay)) <= kSmallestDelay) {
        ::MessageBeep(MB_OK);
        return;
    }
    const std::string step_text = make_key_step_text(key_name_from_code(key.key_code));

    if (edit_mode_ == 0) {
        const int row = steps_.insert_row(-1);
        steps_.set_cell_text(row, 0, step_text);
        steps_.set_cell_text(row, 1, delay);
        hotkey_box_.set_focus();
        return;
    }
    // The row selected now, which is normally the one the dialog was opened for; with none
    // selected nothing is written.
    const int row = steps_.current_row();
    if (row >= 0) {
        steps_.set_cell_text(row, 0, step_text);
        steps_.set_cell_text(row, 1, delay);
    }
    close();
}

void run_key_step_dialog(HWND owner, StepList& steps, HotkeyBox& hotkey_box, int edit_mode) {
    KeyStepDialog dialog(steps, hotkey_box, edit_mode);
    if (dialog.open(owner)) dialog.run_modal();
}

}  // namespace keyvora::ui
