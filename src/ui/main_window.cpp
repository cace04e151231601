#include "ui/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "ui/control_ids.h"
#include "ui/hotkey_box.h"
#include "ui/step_menu.h"
#include "ui/target_list.h"
#include "ui/ui_texts.h"
#include "win32/gbk_convert.h"
#include "win32/message_pump.h"
#include "win32/window_text.h"

namespace keyvora::ui {
namespace {

constexpr int kCreatedWidth = 315;
constexpr int kCreatedHeight = 322;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// WS_EX_CONTROLPARENT lets dialog navigation step into and out of the child controls.
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;

// Button row: 按钮_执行 sets the height the window is fitted to.
constexpr int kButtonTop = 222;
constexpr int kButtonHeight = 32;
constexpr int kRunButtonLeft = 8;

constexpr UINT_PTR kHotkeyLabelSubclass = 1;

void set_default_font(HWND control) {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

HMENU control_menu_id(int id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

// The folder of the running exe, with a trailing backslash.
std::wstring exe_folder() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            std::wstring full(path.data(), length);
            return full.substr(0, full.find_last_of(L"\\/") + 1);
        }
        path.resize(path.size() * 2);
    }
}

bool register_window_class(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    window_class.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                           ::GetSystemMetrics(SM_CXSMICON),
                                                           ::GetSystemMetrics(SM_CYSMICON), 0));
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = kMainWindowClass;
    if (::RegisterClassExW(&window_class) != 0) return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

MainWindow::MainWindow(HotkeyBox& hotkey_box)
    : hotkey_box_(hotkey_box), runner_(steps_, *this, poster_, waiter_) {}

MainWindow::~MainWindow() {
    if (window_ != nullptr) ::DestroyWindow(window_);
}

bool MainWindow::create(HINSTANCE instance) {
    instance_ = instance;
    if (!register_window_class(instance, &object_window_procedure<MainWindow>)) return false;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - kCreatedWidth) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - kCreatedHeight) / 2;
    const std::wstring caption = win32::to_wide(text::kWindowCaption);
    ::CreateWindowExW(kWindowExStyle, kMainWindowClass, caption.c_str(), kWindowStyle, left, top, kCreatedWidth,
                      kCreatedHeight, nullptr, nullptr, instance, this);
    return window_ != nullptr;
}

void MainWindow::show(int show_command) {
    ::ShowWindow(window_, show_command);
    ::UpdateWindow(window_);
}

LRESULT MainWindow::handle_message(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: on_create(); return 0;
        case WM_DESTROY: on_destroy(); return 0;
        case WM_COMMAND: on_command(LOWORD(wparam), HIWORD(wparam)); return 0;
        case WM_NOTIFY: return on_notify(*reinterpret_cast<NMHDR*>(lparam));
        case WM_HOTKEY: on_hotkey(wparam); return 0;
        default: return ::DefWindowProcW(window_, message, wparam, lparam);
    }
}

void MainWindow::on_create() {
    create_controls();
    fill_target_list(target_list_, system_source_);
    register_run_hotkey();
    fit_height_to_buttons();
    win32::register_navigation_window(window_);
}

void MainWindow::on_destroy() {
    win32::unregister_navigation_window(window_);
    ::UnregisterHotKey(window_, runner_.run_hotkey_id());
    ::RemoveWindowSubclass(hotkey_label_, &MainWindow::hotkey_label_procedure, kHotkeyLabelSubclass);
    // A running script is ended, so the nested run loop returns and the process can exit.
    runner_.end_run();
    ::PostQuitMessage(0);
}

void MainWindow::on_command(int id, int code) {
    switch (id) {
        case kIdRunButton: if (code == BN_CLICKED) runner_.toggle_run(); return;
        case kIdOpenButton: if (code == BN_CLICKED) open_script(window_, steps_, file_dialog_); return;
        case kIdSaveButton: if (code == BN_CLICKED) save_script(window_, steps_, file_dialog_); return;
        case kIdHelpButton: if (code == BN_CLICKED) on_instructions(); return;
        case kIdTargetList: if (code == CBN_DROPDOWN) fill_target_list(target_list_, system_source_); return;
        case IDCANCEL: ::SendMessageW(window_, WM_CLOSE, 0, 0); return;
        default: if (code == 0) run_step_command(id, window_, steps_, hotkey_box_); return;
    }
}

LRESULT MainWindow::on_notify(NMHDR& header) {
    if (header.idFrom != static_cast<UINT_PTR>(kIdStepList)) return 0;
    if (header.code == LVN_GETDISPINFOW) {
        steps_.fill_display_info(*reinterpret_cast<NMLVDISPINFOW*>(&header));
    } else if (header.code == NM_RCLICK) {
        show_step_menu(window_, steps_);
    }
    return 0;
}

void MainWindow::on_hotkey(WPARAM hotkey_id) {
    const auto id = static_cast<std::int32_t>(hotkey_id);
    if (id >= kRunHotkeyId && id <= last_hotkey_id_) ::SendMessageW(hotkey_label_, kMsgRunHotkey, hotkey_id, 0);
}

LRESULT CALLBACK MainWindow::hotkey_label_procedure(HWND label, UINT message, WPARAM wparam, LPARAM lparam,
                                                     UINT_PTR, DWORD_PTR owner) {
    if (message == kMsgRunHotkey) {
        reinterpret_cast<MainWindow*>(owner)->runner_.on_run_hotkey(static_cast<std::int32_t>(wparam));
        return 0;
    }
    return ::DefSubclassProc(label, message, wparam, lparam);
}

void MainWindow::on_instructions() {
    const std::wstring page = exe_folder() + win32::to_wide(text::kHelpPage);
    ::ShellExecuteW(window_, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::create_controls() {
    target_list_ = create_target_list_control(window_, 8, 12, 292, kIdTargetList);
    set_default_font(target_list_);
    HWND list = create_step_list_control(window_, 8, 42, 292, 174, kIdStepList);
    set_default_font(list);
    steps_.attach(list);
    run_button_ = add_button(kIdRunButton, text::kRunButton, kRunButtonLeft, kButtonTop, 104, kButtonHeight);
    add_button(kIdOpenButton, text::kOpenButton, 114, kButtonTop, 60, kButtonHeight);
    add_button(kIdSaveButton, text::kSaveButton, 176, kButtonTop, 60, kButtonHeight);
    add_button(kIdHelpButton, text::kHelpButton, 240, kButtonTop, 60, kButtonHeight);
    // Lies below the fitted client area, so it is never seen.
    hotkey_label_ = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 141, 360, 80, 24, window_,
                                      control_menu_id(kIdHotkeyLabel), instance_, nullptr);
    set_default_font(hotkey_label_);
    ::SetWindowSubclass(hotkey_label_, &MainWindow::hotkey_label_procedure, kHotkeyLabelSubclass,
                        reinterpret_cast<DWORD_PTR>(this));
}

HWND MainWindow::add_button(int id, std::string_view gbk_text, int x, int y, int width, int height) {
    const std::wstring caption = win32::to_wide(gbk_text);
    HWND button = ::CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                    x, y, width, height, window_, control_menu_id(id), instance_, nullptr);
    set_default_font(button);
    return button;
}

void MainWindow::register_run_hotkey() {
    last_hotkey_id_ = kRunHotkeyId;
    const bool registered = ::RegisterHotKey(window_, kRunHotkeyId, 0, VK_HOME) != FALSE;
    runner_.set_run_hotkey_id(registered ? kRunHotkeyId : 0);
}

void MainWindow::fit_height_to_buttons() {
    RECT outer{};
    RECT client{};
    ::GetWindowRect(window_, &outer);
    ::GetClientRect(window_, &client);
    const int frame_height = (outer.bottom - outer.top) - (client.bottom - client.top);
    const int height = frame_height + kButtonTop + kButtonHeight + kRunButtonLeft;
    ::SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string MainWindow::chosen_target_text() const {
    return ui::chosen_target_text(target_list_);
}

void MainWindow::set_target_list_enabled(bool enabled) {
    ::EnableWindow(target_list_, enabled ? TRUE : FALSE);
}

void MainWindow::set_run_button_text(std::string_view gbk_text) {
    win32::set_window_text(run_button_, gbk_text);
}

void MainWindow::set_window_caption(std::string_view gbk_text) {
    win32::set_window_text(window_, gbk_text);
}

void MainWindow::beep(unsigned sound) {
    ::MessageBeep(sound);
}

}  // namespace keyvora::ui
