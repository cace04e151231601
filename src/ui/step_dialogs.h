// The two modal step dialogs. Each returns when its window has been closed; the owner is
// disabled meanwhile. edit_mode 0 adds steps at the end of the list, 1 rewrites the selected row.
#pragma once

#include <windows.h>

#include "script/step_list.h"

namespace keyvora::ui {

class HotkeyBox;

void run_key_step_dialog(HWND owner, StepList& steps, HotkeyBox& hotkey_box, int edit_mode);
void run_mouse_step_dialog(HWND owner, StepList& steps, int edit_mode);

}  // namespace keyvora::ui
