// Saving the script to a file and opening one, through the common file dialogs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "script/step_list.h"
#include "ui/step_list_view.h"

namespace keyvora::ui {

// The one file dialog of the main window. The file name it shows persists while the program runs:
// empty at first, then the full path of the last confirmed dialog of either kind.
class ScriptFileDialog {
public:
    // The chosen full path, or nothing when the user cancelled.
    std::optional<std::wstring> ask_save_path(HWND owner);
    std::optional<std::wstring> ask_open_path(HWND owner);

    const std::wstring& remembered_path() const { return remembered_path_; }

private:
    std::optional<std::wstring> ask(HWND owner, bool for_saving);

    std::wstring remembered_path_;
};

// Writes every row to the chosen file, ".ini" appended when the path lacks "ini". A name the
// dialog did not ask about (the appended one) is replaced only after the user agrees. The old file
// stays whole when the write fails, and the failure beeps.
void save_script(HWND owner, const StepList& steps, ScriptFileDialog& dialog);

// Replaces the rows with those of the chosen file. Cancelling keeps the rows; so does a file that
// cannot be read, with a beep. No row is selected afterwards.
void open_script(HWND owner, StepListView& steps, ScriptFileDialog& dialog);

}  // namespace keyvora::ui
