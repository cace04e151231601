#include "ui/dialog_frame.h"

#include <commctrl.h>

#include "win32/gbk_convert.h"
#include "win32/message_pump.h"

namespace keyvora::ui {

namespace {

// No WS_CLIPCHILDREN: a group box draws only its frame and leaves its inside to the dialog.
constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kFrameExStyle = WS_EX_DLGMODALFRAME;
constexpr UINT_PTR kGroupForwardId = 1;

HINSTANCE module_instance() { return ::GetModuleHandleW(nullptr); }

int width_of(const RECT& rect) { return rect.right - rect.left; }
int height_of(const RECT& rect) { return rect.bottom - rect.top; }

HWND add_child(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style, int id, std::string_view text,
               int x, int y, int width, int height) {
    HWND child = ::CreateWindowExW(ex_style, window_class, win32::to_wide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                   x, y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   module_instance(), nullptr);
    if (child != nullptr) {
        ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    }
    return child;
}

// A group box is a button: it ignores what its children report and does not colour them. Pass
// both on to the dialog.
LRESULT CALLBACK forward_notifications(HWND group, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
            return ::SendMessageW(::GetAncestor(group, GA_ROOT), message, wparam, lparam);
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(group, &forward_notifications, kGroupForwardId);
            break;
    }
    return ::DefSubclassProc(group, message, wparam, lparam);
}

// Labels on the dialog's own face colour, whether they sit on the dialog or inside a group box.
LRESULT label_colours(HDC device) {
    ::SetTextColor(device, ::GetSysColor(COLOR_BTNTEXT));
    ::SetBkColor(device, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
}

bool register_dialog_class(const wchar_t* class_name, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(module_instance(), class_name, &existing)) return true;

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = module_instance();
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = class_name;
    return ::RegisterClassExW(&window_class) != 0;
}

}  // namespace

void fit_window_to_group(HWND window, HWND group, int extra_height) {
    RECT outer{};
    RECT client{};
    RECT group_rect{};
    ::GetWindowRect(window, &outer);
    ::GetClientRect(window, &client);
    ::GetWindowRect(group, &group_rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&group_rect), 2);

    const int frame_width = width_of(outer) - width_of(client);
    const int frame_height = height_of(outer) - height_of(client);
    const int left = group_rect.left;
    const int top = group_rect.top;
    const int width = frame_width + 2 * left + width_of(group_rect);
    const int height = frame_height + top + height_of(group_rect) + left + extra_height;
    ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

DialogFrame::~DialogFrame() {
    if (window_ == nullptr) return;
    // Stop dispatching to this half-destroyed object before the window goes.
    HWND window = window_;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    window_ = nullptr;
    enable_owner();
    ::DestroyWindow(window);
}

bool DialogFrame::create_frame(const wchar_t* class_name, std::string_view gbk_caption, int outer_width,
                               int outer_height, HWND owner) {
    if (!register_dialog_class(class_name, &object_window_procedure<DialogFrame>)) return false;
    owner_ = owner;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - outer_width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - outer_height) / 2;
    return ::CreateWindowExW(kFrameExStyle, class_name, win32::to_wide(gbk_caption).c_str(), kFrameStyle, x, y,
                             outer_width, outer_height, owner, nullptr, module_instance(), this) != nullptr;
}

void DialogFrame::show() {
    ::ShowWindow(window_, SW_SHOW);
    ::SetForegroundWindow(window_);
}

void DialogFrame::close() {
    if (window_ == nullptr) return;
    // Enabled again before the dialog goes, so the activation returns to the owner and not to
    // some other program's window.
    enable_owner();
    ::DestroyWindow(window_);
}

void DialogFrame::run_modal() {
    if (window_ == nullptr) return;
    // A window that was disabled already (by an outer modal loop) is left for that loop to enable.
    owner_disabled_here_ = owner_ != nullptr && !::EnableWindow(owner_, FALSE);
    MSG message{};
    while (window_ != nullptr) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) break;
        win32::dispatch_message(message);
    }
    enable_owner();
    if (owner_ != nullptr && window_ == nullptr) ::SetActiveWindow(owner_);
}

void DialogFrame::enable_owner() {
    if (owner_disabled_here_) ::EnableWindow(owner_, TRUE);
    owner_disabled_here_ = false;
}

HWND DialogFrame::add_group_box(HWND parent, int x, int y, int width, int height) {
    HWND group = add_child(parent, WC_BUTTONW, BS_GROUPBOX, 0, 0, {}, x, y, width, height);
    if (group != nullptr) ::SetWindowSubclass(group, &forward_notifications, kGroupForwardId, 0);
    return group;
}

HWND DialogFrame::add_label(HWND parent, std::string_view gbk_text, int x, int y, int width, int height) {
    // A label a little narrower than its text loses the end of its last character rather than
    // breaking into a second line that its height cannot show.
    return add_child(parent, WC_STATICW, SS_LEFTNOWORDWRAP, 0, 0, gbk_text, x, y, width, height);
}

HWND DialogFrame::add_edit(HWND parent, int id, std::string_view gbk_text, int x, int y, int width, int height) {
    return add_child(parent, WC_EDITW, WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, id, gbk_text, x, y,
                     width, height);
}

HWND DialogFrame::add_button(HWND parent, int id, std::string_view gbk_text, int x, int y, int width, int height) {
    return add_child(parent, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 0, id, gbk_text, x, y, width, height);
}

LRESULT DialogFrame::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            on_command(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
            return 0;
        case WM_ACTIVATE:
            on_activate(wparam);
            if (LOWORD(wparam) != WA_INACTIVE && focus_to_restore_ != nullptr) return 0;
            break;
        case WM_CLOSE:
            close();
            return 0;
        case WM_CTLCOLORSTATIC:
            return label_colours(reinterpret_cast<HDC>(wparam));
    }
    return ::DefWindowProcW(window_, message, wparam, lparam);
}

// Windows gives the focus to the dialog window itself on activation; bring it back to the
// control that had it, so a key typed after switching back still reaches that control.
void DialogFrame::on_activate(WPARAM wparam) {
    if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        focus_to_restore_ = focus != nullptr && ::IsChild(window_, focus) ? focus : nullptr;
        return;
    }
    if (focus_to_restore_ != nullptr && ::IsWindow(focus_to_restore_) && ::IsChild(window_, focus_to_restore_)) {
        ::SetFocus(focus_to_restore_);
    } else {
        focus_to_restore_ = nullptr;
    }
}

}  // namespace keyvora::ui
