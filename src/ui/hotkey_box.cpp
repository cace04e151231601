#include "ui/hotkey_box.h"

#include <commctrl.h>

#include <unordered_map>

namespace keyvora::ui {

namespace {

constexpr int kFirstControlIdBase = 500;

int& control_id_counter() {
    static int counter = kFirstControlIdBase;
    return counter;
}

// Which wrapper owns which control window, for the shared window procedure.
std::unordered_map<HWND, HotkeyBox*>& wrapper_table() {
    static std::unordered_map<HWND, HotkeyBox*> table;
    return table;
}

HINSTANCE module_instance() {
    static const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    return instance;
}

WNDPROC window_procedure_of(HWND window) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
}

WNDPROC install_window_procedure(HWND window, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

}  // namespace

HotkeyBox::HotkeyBox() {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_HOTKEY_CLASS;
    ::InitCommonControlsEx(&classes);
    module_instance();
}

HotkeyBox::~HotkeyBox() { detach(); }

void HotkeyBox::set_focus() const { ::SetFocus(control_); }

bool HotkeyBox::create(HWND parent, int x, int y, int width, int height, DWORD extra_style, DWORD extended_style) {
    const int control_id = ++control_id_counter();
    if (control_ != nullptr) return false;

    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | extra_style | WS_CLIPSIBLINGS;
    HWND control = ::CreateWindowExW(extended_style, HOTKEY_CLASSW, L"", style, x, y, width, height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)), module_instance(),
                                     nullptr);
    if (control == nullptr) return false;

    attach(control);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return true;
}

HotkeyValue HotkeyBox::get_key() const {
    if (control_ == nullptr) return {};
    const auto word = static_cast<std::uint16_t>(::SendMessageW(control_, HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    return HotkeyValue{static_cast<std::uint8_t>(word & 0xFF), static_cast<std::uint8_t>(word >> 8)};
}

void HotkeyBox::set_key(HotkeyValue value) const {
    if (control_ == nullptr) return;
    const WPARAM word = value.key_code + 256u * value.modifiers;
    ::SendMessageW(control_, HKM_SETHOTKEY, word, 0);
}

int HotkeyBox::last_control_id() { return control_id_counter(); }

HotkeyBox* HotkeyBox::attached_to(HWND window) {
    const auto found = wrapper_table().find(window);
    return found == wrapper_table().end() ? nullptr : found->second;
}

void HotkeyBox::attach(HWND control) {
    control_ = control;
    const bool already_listed = !wrapper_table().emplace(control, this).second;
    if (already_listed) return;
    if (window_procedure_of(control) == &HotkeyBox::shared_window_procedure) return;
    previous_procedure_ = install_window_procedure(control, &HotkeyBox::shared_window_procedure);
}

// Restores the control's own procedure while the window is still valid, then forgets it.
void HotkeyBox::detach() {
    if (control_ == nullptr) return;
    if (previous_procedure_ != nullptr) {
        install_window_procedure(control_, previous_procedure_);
        wrapper_table().erase(control_);
    }
    control_ = nullptr;
    previous_procedure_ = nullptr;
}

LRESULT CALLBACK HotkeyBox::shared_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    HotkeyBox* wrapper = attached_to(window);
    if (wrapper == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);

    const WNDPROC previous = wrapper->previous_procedure_;
    if (message == WM_NCDESTROY) wrapper->detach();
    if (previous == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
    return ::CallWindowProcW(previous, window, message, wparam, lparam);
}

}  // namespace keyvora::ui
