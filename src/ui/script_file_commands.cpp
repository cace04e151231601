#include "ui/script_file_commands.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "runner/run_ports.h"
#include "script/script_file.h"
#include "ui/step_list_view.h"
#include "ui/ui_texts.h"
#include "win32/file_access.h"
#include "win32/gbk_convert.h"

namespace keyvora::ui {
namespace {

// Room for the longest path the wide file functions accept.
constexpr std::size_t kPathBufferChars = 32768;

// "脚本文件" "*.ini" as the dialog wants it: description, pattern, each closed by a null, and
// one more null at the end.
std::wstring script_filter() {
    std::wstring filter = win32::to_wide(text::kScriptFilterName);
    filter.push_back(L'\0');
    filter += win32::to_wide(text::kScriptFilterPattern);
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    return filter;
}

std::wstring file_name_part(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The save dialog asked about the path it returned; the name with ".ini" appended it never saw.
bool may_replace_unasked(HWND owner, const std::string& gbk_file_name) {
    if (!win32::file_exists(gbk_file_name)) return true;
    const std::wstring question =
        file_name_part(win32::to_wide(gbk_file_name)) + L" " + win32::to_wide(text::kReplaceQuestion);
    const std::wstring caption = win32::to_wide(text::kReplaceCaption);
    return ::MessageBoxW(owner, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONWARNING) == IDYES;
}

}  // namespace

std::optional<std::wstring> ScriptFileDialog::ask_save_path(HWND owner) {
    return ask(owner, true);
}

std::optional<std::wstring> ScriptFileDialog::ask_open_path(HWND owner) {
    return ask(owner, false);
}

std::optional<std::wstring> ScriptFileDialog::ask(HWND owner, bool for_saving) {
    std::vector<wchar_t> file(kPathBufferChars, L'\0');
    remembered_path_.copy(file.data(), std::min(remembered_path_.size(), file.size() - 1));
    const std::wstring filter = script_filter();

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    // The dialog itself adds ".ini" to a name typed without extension, so its overwrite question
    // covers the name that is really written.
    dialog.lpstrDefExt = L"ini";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (for_saving ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);

    const BOOL confirmed = for_saving ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
    if (!confirmed) return std::nullopt;
    remembered_path_.assign(file.data());
    return remembered_path_;
}

void save_script(HWND owner, const StepList& steps, ScriptFileDialog& dialog) {
    const std::optional<std::wstring> chosen = dialog.ask_save_path(owner);
    if (!chosen) return;
    const std::string chosen_gbk = win32::to_gbk(*chosen);
    const std::string file_name = save_file_name(chosen_gbk);
    if (file_name != chosen_gbk && !may_replace_unasked(owner, file_name)) return;
    if (!win32::write_whole_file_atomically(file_name, encode_script(rows_of(steps)))) ::MessageBeep(kBeepDefault);
}

void open_script(HWND owner, StepListView& steps, ScriptFileDialog& dialog) {
    const std::optional<std::wstring> chosen = dialog.ask_open_path(owner);
    if (!chosen) return;
    const std::optional<std::string> bytes = win32::read_whole_file(win32::to_gbk(*chosen));
    if (!bytes) {
        ::MessageBeep(kBeepDefault);
        return;
    }
    const std::vector<ScriptStep> rows = decode_script(*bytes);
    const StepListView::BulkLoad bulk(steps, static_cast<int>(rows.size()));
    replace_rows(steps, rows);
}

}  // namespace keyvora::ui
