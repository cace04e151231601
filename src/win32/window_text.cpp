#include "win32/window_text.h"

#include "win32/gbk_convert.h"

namespace keyvora::win32 {

std::string window_text(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    // The length may overstate the text (it can count a DBCS conversion); the copy says how much came.
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return to_gbk(text);
}

void set_window_text(HWND window, std::string_view gbk) {
    ::SetWindowTextW(window, to_wide(gbk).c_str());
}

}  // namespace keyvora::win32
