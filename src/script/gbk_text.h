// GBK (code page 936) byte strings that the script rules and the interface share.
// Sources are UTF-8, so every Chinese text of the program is written here as its GBK bytes.
#pragma once

#include <string_view>

namespace keyvora::gbk {

inline constexpr std::string_view kKeyWord = "\xB0\xB4\xBC\xFC";                  // 按键
inline constexpr std::string_view kKeyStepPrefix = "\xB0\xB4\xBC\xFC\xA3\xBA";    // 按键：
inline constexpr std::string_view kMouseStepPrefix = "\xCA\xF3\xB1\xEA\xA3\xBA";  // 鼠标：
inline constexpr std::string_view kPieceSeparator = "\xD8\xAD";                   // 丨
inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kDefaultDelay = "1000";

}  // namespace keyvora::gbk
