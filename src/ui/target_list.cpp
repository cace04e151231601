#include "ui/target_list.h"

#include <vector>

#include "win32/gbk_convert.h"

namespace keyvora::ui {

HWND create_target_list_control(HWND parent, int x, int y, int width, int control_id) {
    constexpr int kHeightWithList = 160;
    return ::CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN,
                             x, y, width, kHeightWithList, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                             reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

void fill_target_list(HWND combo, SystemSource& source) {
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : build_target_entries(source)) {
        const std::wstring wide = win32::to_wide(entry);
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
}

std::string chosen_target_text(HWND combo) {
    const auto chosen = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR) return {};
    const auto length = ::SendMessageW(combo, CB_GETLBTEXTLEN, chosen, 0);
    if (length == CB_ERR) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    const auto copied = ::SendMessageW(combo, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == CB_ERR) return {};
    return win32::to_gbk(std::wstring_view(buffer.data(), static_cast<std::size_t>(copied)));
}

}  // namespace keyvora::ui
