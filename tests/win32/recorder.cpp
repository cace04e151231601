// A target window for tests: one visible top-level window that logs every key and mouse message
// it receives, so a test in another process can see exactly what was posted to it and when.
//
//   recorder.exe LOG_FILE [CAPTION] [--hang-after-ms N]
//
// The log's first line is "hwnd <decimal handle> pid <process id>"; each further line is
// "<microseconds> <message> <wParam hex> <lParam hex>", the microseconds being the system-wide
// QueryPerformanceCounter converted, so other processes can compare them with their own clock.
// With --hang-after-ms the window stops serving its queue N ms after start (it logs
// "<microseconds> hang" first), as a program that no longer answers.
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "qpc_clock.h"

namespace {

constexpr wchar_t kClassName[] = L"KeyvoraRecorder";
constexpr UINT_PTR kHangTimer = 1;

struct LocalFreer {
    void operator()(void* memory) const noexcept { ::LocalFree(memory); }
};
struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};

HANDLE g_log = INVALID_HANDLE_VALUE;

using keyvora::testing::now_us;

// One WriteFile per line, unbuffered, so a reader polling the file never sees half a line.
void write_line(const std::string& line) {
    DWORD written = 0;
    const std::string with_end = line + "\n";
    ::WriteFile(g_log, with_end.data(), static_cast<DWORD>(with_end.size()), &written, nullptr);
}

const char* message_name(UINT message) {
    switch (message) {
        case WM_KEYDOWN:
            return "WM_KEYDOWN";
        case WM_KEYUP:
            return "WM_KEYUP";
        case WM_CHAR:
            return "WM_CHAR";
        case WM_MOUSEMOVE:
            return "WM_MOUSEMOVE";
        case WM_LBUTTONDOWN:
            return "WM_LBUTTONDOWN";
        case WM_LBUTTONUP:
            return "WM_LBUTTONUP";
        default:
            return nullptr;
    }
}

void log_message(std::int64_t arrival_us, UINT message, WPARAM wparam, LPARAM lparam) {
    char line[128];
    std::snprintf(line, sizeof line, "%lld %s 0x%lx 0x%lx", static_cast<long long>(arrival_us), message_name(message),
                  static_cast<unsigned long>(wparam), static_cast<unsigned long>(lparam));
    write_line(line);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message_name(message) != nullptr) {
        log_message(now_us(), message, wparam, lparam);
        return 0;
    }
    switch (message) {
        case WM_TIMER:
            if (wparam == kHangTimer) {
                write_line(std::to_string(now_us()) + " hang");
                for (;;)
                    ::Sleep(INFINITE);
            }
            break;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
}

struct Options {
    std::wstring log_path;
    std::wstring caption = L"Keyvora Recorder";
    int hang_after_ms = -1;
};

bool read_options(Options& options) {
    int count = 0;
    std::unique_ptr<LPWSTR, LocalFreer> arguments(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!arguments)
        return false;
    LPWSTR* argv = arguments.get();
    int positional = 0;
    for (int i = 1; i < count; ++i) {
        if (std::wcscmp(argv[i], L"--hang-after-ms") == 0 && i + 1 < count) {
            options.hang_after_ms = static_cast<int>(std::wcstol(argv[++i], nullptr, 10));
        } else if (positional == 0) {
            options.log_path = argv[i];
            ++positional;
        } else if (positional == 1) {
            options.caption = argv[i];
            ++positional;
        }
    }
    return !options.log_path.empty();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    Options options;
    if (!read_options(options))
        return 2;
    g_log =
        ::CreateFileW(options.log_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_log == INVALID_HANDLE_VALUE)
        return 3;
    std::unique_ptr<void, HandleCloser> log_owner(g_log);

    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = kClassName;
    if (!::RegisterClassExW(&window_class))
        return 4;

    HWND window = ::CreateWindowExW(0, kClassName, options.caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 5;
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    ::UpdateWindow(window);
    write_line("hwnd " + std::to_string(static_cast<long>(reinterpret_cast<LONG_PTR>(window))) + " pid " +
               std::to_string(::GetCurrentProcessId()));
    if (options.hang_after_ms >= 0)
        ::SetTimer(window, kHangTimer, static_cast<UINT>(options.hang_after_ms), nullptr);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
