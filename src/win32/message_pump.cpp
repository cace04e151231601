#include "win32/message_pump.h"

#include <algorithm>
#include <vector>

namespace keyvora::win32 {
namespace {

// Only the user-interface thread touches the registry, so it needs no lock.
std::vector<HWND>& navigation_windows() {
    static std::vector<HWND> windows;
    return windows;
}

bool is_navigation_window(HWND window) {
    const auto& windows = navigation_windows();
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

}  // namespace

void register_navigation_window(HWND window) {
    if (window != nullptr && !is_navigation_window(window))
        navigation_windows().push_back(window);
}

void unregister_navigation_window(HWND window) {
    auto& windows = navigation_windows();
    windows.erase(std::remove(windows.begin(), windows.end(), window), windows.end());
}

void dispatch_message(MSG& message) {
    if (message.hwnd != nullptr) {
        HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
        if (root != nullptr && is_navigation_window(root) && ::IsDialogMessageW(root, &message))
            return;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
}

void pump_messages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
        if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            break;
        if (message.message == WM_QUIT) {
            // A quit posted between the two looks was taken by mistake; put it back for the
            // main loop, which is the one that must see it.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        dispatch_message(message);
    }
}

bool quit_requested() {
    MSG message;
    return ::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

}  // namespace keyvora::win32
