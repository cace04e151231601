// The key field of the key step dialog: one long-lived wrapper around a system hotkey control
// ("msctls_hotkey32") that is created anew each time the dialog opens and goes away with it.
#pragma once

#include <windows.h>

#include <cstdint>

namespace keyvora::ui {

// A key as the hotkey control holds it. modifiers uses the control's bits: HOTKEYF_SHIFT 0x01,
// HOTKEYF_CONTROL 0x02, HOTKEYF_ALT 0x04, HOTKEYF_EXT 0x08. key_code 0 means no key.
struct HotkeyValue {
    std::uint8_t key_code = 0;
    std::uint8_t modifiers = 0;

    friend bool operator==(const HotkeyValue&, const HotkeyValue&) = default;
};

// Detached until create() makes a control; the control's destruction (WM_NCDESTROY) detaches it
// again, so the same object serves one control after another. Every message of the control still
// reaches the control's own window procedure. Lives on the user-interface thread only.
class HotkeyBox {
public:
    static constexpr int kDefaultWidth = 100;
    static constexpr int kDefaultHeight = 20;

    // Registers the hotkey control class.
    HotkeyBox();
    // Detaches a control that is still attached (the control itself is left to its parent).
    ~HotkeyBox();

    HotkeyBox(const HotkeyBox&) = delete;
    HotkeyBox& operator=(const HotkeyBox&) = delete;

    void set_focus() const;

    // Makes the control as a child of parent, in parent's client coordinates, and attaches it.
    // False while a control is attached or when no window could be made. Every call, refused ones
    // included, takes the next control identifier (501, 502, ... for the life of the process).
    bool create(HWND parent, int x, int y, int width = kDefaultWidth, int height = kDefaultHeight,
                DWORD extra_style = 0, DWORD extended_style = WS_EX_CLIENTEDGE);

    // The key the control holds; 0/0 while detached.
    HotkeyValue get_key() const;
    // No effect while detached.
    void set_key(HotkeyValue value) const;

    // The attached control, null while detached.
    HWND control() const { return control_; }
    // The identifier that the latest create() call took (500 before the first call).
    static int last_control_id();
    // The wrapper that the shared window procedure finds for a window, null when none.
    static HotkeyBox* attached_to(HWND window);

private:
    static LRESULT CALLBACK shared_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void attach(HWND control);
    void detach();

    HWND control_ = nullptr;
    WNDPROC previous_procedure_ = nullptr;
};

}  // namespace keyvora::ui
