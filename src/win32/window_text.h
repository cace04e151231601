// Window texts as GBK, through the wide functions.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace keyvora::win32 {

std::string window_text(HWND window);
void set_window_text(HWND window, std::string_view gbk);

}  // namespace keyvora::win32
