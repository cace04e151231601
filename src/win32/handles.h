// Move-only owners for the handle kinds the program opens. Raw handles are used only for what
// the program does not own (another program's window).
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace keyvora::win32 {

struct KernelHandleCloser {
    void operator()(HANDLE handle) const noexcept {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};
struct MenuDestroyer {
    void operator()(HMENU menu) const noexcept { ::DestroyMenu(menu); }
};
struct WindowDestroyer {
    void operator()(HWND window) const noexcept { ::DestroyWindow(window); }
};

using unique_handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleCloser>;
using unique_menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDestroyer>;
using unique_window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

// A handle from a call that reports failure as INVALID_HANDLE_VALUE.
inline unique_handle adopt_file_handle(HANDLE handle) {
    return unique_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

inline HWND to_hwnd(long window_id) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(window_id)); }
inline long from_hwnd(HWND window) { return static_cast<long>(reinterpret_cast<LONG_PTR>(window)); }

}  // namespace keyvora::win32
