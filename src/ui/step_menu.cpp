#include "ui/step_menu.h"

#include "script/gbk_text.h"
#include "script/script_step.h"
#include "ui/control_ids.h"
#include "ui/step_dialogs.h"
#include "ui/ui_texts.h"
#include "win32/gbk_convert.h"
#include "win32/handles.h"

namespace keyvora::ui {
namespace {

constexpr int kAddMode = 0;
constexpr int kEditMode = 1;

void append_item(HMENU menu, int command_id, std::string_view gbk_text, bool enabled) {
    const std::wstring wide = win32::to_wide(gbk_text);
    ::AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), static_cast<UINT_PTR>(command_id),
                  wide.c_str());
}

void append_separator(HMENU menu) {
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
}

}  // namespace

void show_step_menu(HWND owner, const StepList& steps) {
    const bool has_selection = steps.current_row() != -1;
    win32::unique_menu menu(::CreatePopupMenu());
    if (!menu) return;
    append_item(menu.get(), kIdMenuAddKey, text::kMenuAddKey, true);
    append_item(menu.get(), kIdMenuAddMouse, text::kMenuAddMouse, true);
    append_item(menu.get(), kIdMenuDelete, text::kMenuDelete, has_selection);
    append_separator(menu.get());
    append_item(menu.get(), kIdMenuEdit, text::kMenuEdit, has_selection);
    append_separator(menu.get());
    append_item(menu.get(), kIdMenuInsertEnter, text::kMenuInsertEnter, true);
    append_item(menu.get(), kIdMenuInsertEsc, text::kMenuInsertEsc, true);
    append_item(menu.get(), kIdMenuInsertSpace, text::kMenuInsertSpace, true);

    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x + 3, cursor.y + 3, 0, owner,
                     nullptr);
}

bool run_step_command(int command_id, HWND owner, StepList& steps, HotkeyBox& hotkey_box) {
    switch (command_id) {
        case kIdMenuAddKey: add_key_step(owner, steps, hotkey_box); return true;
        case kIdMenuAddMouse: add_mouse_step(owner, steps); return true;
        case kIdMenuDelete: delete_selected_step(steps); return true;
        case kIdMenuEdit: edit_selected_step(owner, steps, hotkey_box); return true;
        case kIdMenuInsertEnter: insert_fixed_key_step(steps, text::kEnterStep); return true;
        case kIdMenuInsertEsc: insert_fixed_key_step(steps, text::kEscStep); return true;
        case kIdMenuInsertSpace: insert_fixed_key_step(steps, text::kSpaceStep); return true;
        default: return false;
    }
}

void add_key_step(HWND owner, StepList& steps, HotkeyBox& hotkey_box) {
    run_key_step_dialog(owner, steps, hotkey_box, kAddMode);
}

void add_mouse_step(HWND owner, StepList& steps) {
    run_mouse_step_dialog(owner, steps, kAddMode);
}

void delete_selected_step(StepList& steps) {
    steps.delete_row(steps.current_row());
}

void edit_selected_step(HWND owner, StepList& steps, HotkeyBox& hotkey_box) {
    if (is_key_step(steps.cell_text(steps.current_row(), 0))) {
        run_key_step_dialog(owner, steps, hotkey_box, kEditMode);
    } else {
        run_mouse_step_dialog(owner, steps, kEditMode);
    }
}

void insert_fixed_key_step(StepList& steps, std::string_view step_text) {
    const int selected = steps.current_row();
    const int row = steps.insert_row(selected == -1 ? -1 : selected + 1);
    steps.set_cell_text(row, 0, step_text);
    steps.set_cell_text(row, 1, gbk::kDefaultDelay);
}

}  // namespace keyvora::ui
