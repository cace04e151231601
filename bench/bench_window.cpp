// The smallest Win32 program that shows one top-level window and serves its queue. bench.sh
// measures Keyvora's start-up time and private bytes against it, and the target list benchmark
// runs many copies of it, some without a visible window.
//
//   bench_window.exe [--hidden] [CAPTION]
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"KeyvoraBenchWindow";

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    bool hidden = false;
    const wchar_t* caption = L"Bench Window";
    if (std::wcsncmp(command_line, L"--hidden", 8) == 0) {
        hidden = true;
        command_line += 8;
        while (*command_line == L' ') ++command_line;
    }
    if (*command_line != L'\0') caption = command_line;

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kClassName;
    if (!::RegisterClassExW(&window_class)) return 1;

    HWND window = ::CreateWindowExW(0, kClassName, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 315,
                                    322, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return 2;
    if (!hidden) {
        ::ShowWindow(window, SW_SHOWNOACTIVATE);
        ::UpdateWindow(window);
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
