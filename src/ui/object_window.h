// The one window procedure for window classes whose windows are C++ objects.
#pragma once

#include <windows.h>

namespace keyvora::ui {

// WM_NCCREATE binds the object passed as the creation parameter to its window; every later
// message goes to its handle_message; WM_NCDESTROY, the last message, unbinds it, so nothing is
// dispatched to the object once its window is gone. Owner grants this procedure access to its
// window_ member and handle_message.
template <typename Owner>
LRESULT CALLBACK object_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        created->window_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        owner->window_ = nullptr;
        return ::DefWindowProcW(window, message, wparam, lparam);
    }
    return owner->handle_message(message, wparam, lparam);
}

}  // namespace keyvora::ui
