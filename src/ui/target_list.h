// The target drop-down of the main window: one entry per running process, shown as the core
// builds them (executable, window title, handle), converted to UTF-16 for the combo box.
#pragma once

#include <windows.h>

#include <string>

#include "target/target_entry.h"

namespace keyvora::ui {

// A drop-down combo with an edit field, unsorted, 160 pixels high with its list open.
HWND create_target_list_control(HWND parent, int x, int y, int width, int control_id);

// Empties the combo, edit field included, and adds the current entries; none is chosen afterwards.
void fill_target_list(HWND combo, SystemSource& source);

// The text of the chosen entry, GBK; empty when no entry is chosen.
std::string chosen_target_text(HWND combo);

}  // namespace keyvora::ui
