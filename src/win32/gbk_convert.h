// The one place where GBK text of the program meets the UTF-16 of the wide Win32 functions.
// Code page 936 is named explicitly, so the result does not depend on the system code page.
#pragma once

#include <string>
#include <string_view>

namespace keyvora::win32 {

std::wstring to_wide(std::string_view gbk);
std::string to_gbk(std::wstring_view wide);

}  // namespace keyvora::win32
