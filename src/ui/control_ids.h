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

inline constexpr wchar_t kMainWindowClass[] = L"KeyvoraMainWindow";
inline constexpr wchar_t kKeyStepDialogClass[] = L"KeyvoraKeyStepDialog";
inline constexpr wchar_t kMouseStepDialogClass[] = L"KeyvoraMouseStepDialog";

}  // namespace keyvora::ui
