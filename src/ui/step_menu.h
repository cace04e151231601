// The step list's context menu "文件" and its commands. The menu only opens the step dialogs (in
// add or edit mode), deletes the selected row, or inserts one of three ready-made key steps.
#pragma once

#include <windows.h>

#include <string_view>

#include "script/step_list.h"

namespace keyvora::ui {

class HotkeyBox;

// Pops the menu up just below and right of the cursor; "删除选择" and "编辑选择" are grayed when no
// row is selected. A chosen item arrives at owner as WM_COMMAND with its kIdMenu* identifier.
void show_step_menu(HWND owner, const StepList& steps);

// The commands behind the menu items. run_step_command takes a kIdMenu* identifier and returns
// false for any other.
bool run_step_command(int command_id, HWND owner, StepList& steps, HotkeyBox& hotkey_box);

void add_key_step(HWND owner, StepList& steps, HotkeyBox& hotkey_box);
void add_mouse_step(HWND owner, StepList& steps);
void delete_selected_step(StepList& steps);
void edit_selected_step(HWND owner, StepList& steps, HotkeyBox& hotkey_box);
// Below the selected row, or at the end when none is selected; the selection stays where it is.
void insert_fixed_key_step(StepList& steps, std::string_view step_text);

}  // namespace keyvora::ui
