// hotkey_holder.exe: another program that takes the Home hotkey for one window of its own and
// logs each time the hotkey reaches it, so a test can start Keyvora while Home is already taken.
//
//   hotkey_holder.exe LOG_FILE
//
// The log's first line is "registered <1|0> hwnd <decimal handle> pid <process id>"; each further
// line is "hotkey <identifier>".
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kClassName[] = L"KeyvoraHotkeyHolder";
constexpr int kHotkeyId = 7;

HANDLE g_log = INVALID_HANDLE_VALUE;

void write_line(const std::string& line) {
    DWORD written = 0;
    const std::string with_end = line + "\n";
    WriteFile(g_log, with_end.data(), static_cast<DWORD>(with_end.size()), &written, nullptr);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_HOTKEY:
            write_line("hotkey " + std::to_string(static_cast<long>(wparam)));
            return 0;
        case WM_DESTROY:
            UnregisterHotKey(window, kHotkeyId);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    if (command_line == nullptr || *command_line == L'\0') return 2;
    std::wstring log_path = command_line;
    if (log_path.size() >= 2 && log_path.front() == L'"' && log_path.back() == L'"')
        log_path = log_path.substr(1, log_path.size() - 2);
    g_log = CreateFileW(log_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_log == INVALID_HANDLE_VALUE) return 3;

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kClassName;
    if (!RegisterClassExW(&window_class)) return 4;
    HWND window = CreateWindowExW(0, kClassName, L"Keyvora Hotkey Holder", WS_OVERLAPPEDWINDOW, 900, 40, 300, 200,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 5;
    const bool registered = RegisterHotKey(window, kHotkeyId, 0, VK_HOME) != FALSE;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    write_line(std::string("registered ") + (registered ? "1" : "0") + " hwnd " +
               std::to_string(static_cast<long>(reinterpret_cast<LONG_PTR>(window))) + " pid " +
               std::to_string(GetCurrentProcessId()));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    CloseHandle(g_log);
    return 0;
}
