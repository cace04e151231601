// The main window's own texts, as GBK bytes (sources are UTF-8; each text is given in a comment).
#pragma once

#include <string_view>

namespace keyvora::ui::text {

inline constexpr std::string_view kWindowCaption = "Keyvora";
inline constexpr std::string_view kStepColumn = "\xB0\xB4\xBC\xFC\xBB\xF2\xCA\xF3\xB1\xEA\xD0\xC5\xCF\xA2";  // 按键或鼠标信息
inline constexpr std::string_view kDelayColumn = "\xD1\xD3\xCA\xB1\xCA\xB1\xBC\xE4(\xBA\xC1\xC3\xEB)";        // 延时时间(毫秒)
inline constexpr std::string_view kRunButton = "\xD6\xB4\xD0\xD0\xBD\xC5\xB1\xBE(Home\xBC\xFC)";            // 执行脚本(Home键)
inline constexpr std::string_view kOpenButton = "\xB4\xF2\xBF\xAA\xBD\xC5\xB1\xBE";                         // 打开脚本
inline constexpr std::string_view kSaveButton = "\xB1\xA3\xB4\xE6\xBD\xC5\xB1\xBE";                         // 保存脚本
inline constexpr std::string_view kHelpButton = "\xCA\xB9\xD3\xC3\xCB\xB5\xC3\xF7";                         // 使用说明
inline constexpr std::string_view kHelpPage = "\xCA\xB9\xD3\xC3\xCB\xB5\xC3\xF7.html";                      // 使用说明.html

// The step list's context menu.
inline constexpr std::string_view kMenuAddKey = "\xCC\xED\xBC\xD3\xB0\xB4\xBC\xFC";             // 添加按键
inline constexpr std::string_view kMenuAddMouse = "\xCC\xED\xBC\xD3\xCA\xF3\xB1\xEA";           // 添加鼠标
inline constexpr std::string_view kMenuDelete = "\xC9\xBE\xB3\xFD\xD1\xA1\xD4\xF1";             // 删除选择
inline constexpr std::string_view kMenuEdit = "\xB1\xE0\xBC\xAD\xD1\xA1\xD4\xF1";               // 编辑选择
inline constexpr std::string_view kMenuInsertEnter = "\xB2\xE5\xC8\xEB\xBB\xD8\xB3\xB5\xBC\xFC";  // 插入回车键
inline constexpr std::string_view kMenuInsertEsc = "\xB2\xE5\xC8\xEB Esc\xBC\xFC";              // 插入 Esc键
inline constexpr std::string_view kMenuInsertSpace = "\xB2\xE5\xC8\xEB\xBF\xD5\xB8\xF1\xBC\xFC";  // 插入空格键

// The ready-made key steps of the menu's insert commands.
inline constexpr std::string_view kEnterStep = "\xB0\xB4\xBC\xFC\xA3\xBA\xBB\xD8\xB3\xB5\xBC\xFC";  // 按键：回车键
inline constexpr std::string_view kEscStep = "\xB0\xB4\xBC\xFC\xA3\xBA" "Esc\xBC\xFC";              // 按键：Esc键
inline constexpr std::string_view kSpaceStep = "\xB0\xB4\xBC\xFC\xA3\xBA\xBF\xD5\xB8\xF1\xBC\xFC";  // 按键：空格键

// The script file dialog.
inline constexpr std::string_view kScriptFilterName = "\xBD\xC5\xB1\xBE\xCE\xC4\xBC\xFE";  // 脚本文件
inline constexpr std::string_view kScriptFilterPattern = "*.ini";
inline constexpr std::string_view kReplaceQuestion =
    "\xD2\xD1\xB4\xE6\xD4\xDA\xA1\xA3\n\xD2\xAA\xCC\xE6\xBB\xBB\xCB\xFC\xC2\xF0\xA3\xBF";     // 已存在。\n要替换它吗？
inline constexpr std::string_view kReplaceCaption = "\xC8\xB7\xC8\xCF\xC1\xED\xB4\xE6\xCE\xAA";  // 确认另存为

}  // namespace keyvora::ui::text
