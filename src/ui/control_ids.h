// Identifiers of the main window's controls, shared with the test probe that reads them.
#pragma once

namespace keyvora::ui {

inline constexpr int kIdTargetList = 1001;  // 组合框1
inline constexpr int kIdStepList = 1002;    // 超级列表框1
inline constexpr int kIdRunButton = 1003;   // 按钮_执行
inline constexpr int kIdOpenButton = 1004;  // 按钮_打开
inline constexpr int kIdSaveButton = 1005;  // 按钮_保存
inline constexpr int kIdHelpButton = 1006;  // 按钮_说明
inline constexpr int kIdHotkeyLabel = 1007; // 标签1

// Commands of the step list's context menu "文件", in menu order.
inline constexpr int kIdMenuAddKey = 2001;       // 添加按键
inline constexpr int kIdMenuAddMouse = 2002;     // 添加鼠标
inline constexpr int kIdMenuDelete = 2003;       // 删除选择
inline constexpr int kIdMenuEdit = 2004;         // 编辑选择
inline constexpr int kIdMenuInsertEnter = 2005;  // 插入回车键
inline constexpr int kIdMenuInsertEsc = 2006;    // 插入 Esc键
inline constexpr int kIdMenuInsertSpace = 2007;  // 插入空格键

// The private message by which the main window hands a hotkey of this program to 标签1.
inline constexpr unsigned kMsgRunHotkey = 0x8075;  // WM_APP + 0x75

inline constexpr wchar_t kMainWindowClass[] = L"KeyvoraMainWindow";
inline constexpr wchar_t kKeyStepDialogClass[] = L"KeyvoraKeyStepDialog";
inline constexpr wchar_t kMouseStepDialogClass[] = L"KeyvoraMouseStepDialog";

}  // namespace keyvora::ui
