// Start-up: the one HotkeyBox first (it registers the hotkey control class), then the main
// window, then the message loop until the window has been destroyed.
#include <windows.h>

#include <commctrl.h>

#include "ui/hotkey_box.h"
#include "ui/main_window.h"
#include "win32/message_pump.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
    keyvora::ui::HotkeyBox hotkey_box;

    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);

    keyvora::ui::MainWindow main_window(hotkey_box);
    if (!main_window.create(instance)) return 1;
    main_window.show(show_command);

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) keyvora::win32::dispatch_message(message);
    return static_cast<int>(message.wParam);
}
