#include "win32/gbk_convert.h"

#include <windows.h>

#include <climits>

namespace keyvora::win32 {
namespace {

constexpr UINT kGbkCodePage = 936;

}  // namespace

std::wstring to_wide(std::string_view gbk) {
    if (gbk.empty() || gbk.size() > INT_MAX)
        return {};
    const int source_length = static_cast<int>(gbk.size());
    const int length = ::MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), source_length, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    const int written = ::MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), source_length, wide.data(), length);
    wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return wide;
}

std::string to_gbk(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return {};
    const int source_length = static_cast<int>(wide.size());
    // Without best fit, a character GBK lacks becomes "?" instead of a look-alike that would read
    // back as a different character.
    constexpr DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int length =
        ::WideCharToMultiByte(kGbkCodePage, flags, wide.data(), source_length, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string gbk(static_cast<std::size_t>(length), '\0');
    const int written =
        ::WideCharToMultiByte(kGbkCodePage, flags, wide.data(), source_length, gbk.data(), length, nullptr, nullptr);
    gbk.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return gbk;
}

}  // namespace keyvora::win32
