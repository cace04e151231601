// GBK texts the dialog tests compare against. A hex escape is closed before a following
// character that could continue it ("\xBA" "A").
#pragma once

#include <string>

namespace keyvora::ui::testing {

inline const std::string kKeyPrefix = "\xB0\xB4\xBC\xFC\xA3\xBA";    // 按键：
inline const std::string kMousePrefix = "\xCA\xF3\xB1\xEA\xA3\xBA";  // 鼠标：
inline const std::string kKeyA = "A\xBC\xFC";                        // A键
inline const std::string kKeyB = "B\xBC\xFC";                        // B键
inline const std::string kKeypad5 = "\xBC\xFC" "5";                  // 键5

inline const std::string kAddKeyCaption = "\xCC\xED\xBC\xD3\xB0\xB4\xBC\xFC\xD0\xC5\xCF\xA2";   // 添加按键信息
inline const std::string kEditKeyCaption = "\xB1\xE0\xBC\xAD\xB0\xB4\xBC\xFC\xD0\xC5\xCF\xA2";  // 编辑按键信息
inline const std::string kAddButton = "\xCC\xED    \xBC\xD3";                                   // 添    加
inline const std::string kEditButton = "\xC8\xB7\xB6\xA8\xB1\xE0\xBC\xAD";                      // 确定编辑
inline const std::string kAddMouseCaption =
    "\xBB\xD8\xB3\xB5\xBC\xFC\xCC\xED\xBC\xD3\xCA\xF3\xB1\xEA\xD7\xF8\xB1\xEA";  // 回车键添加鼠标坐标
inline const std::string kEditMouseCaption =
    "\xBB\xD8\xB3\xB5\xBC\xFC\xD0\xDE\xB8\xC4\xCA\xF3\xB1\xEA\xD7\xF8\xB1\xEA";  // 回车键修改鼠标坐标

}  // namespace keyvora::ui::testing
