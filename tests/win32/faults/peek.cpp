// peek.exe: a few facts about one Keyvora main window, printed as one line of UTF-8 JSON. Unlike
// probe.exe it never reads the rows themselves, so it stays quick with a million rows loaded.
//
//   peek.exe state HWND               whether the window answers and how fast, the row count,
//                                     the selected row, captions and the target list's state
//   peek.exe cover HWND MS            lays a magenta window over it for MS ms, then takes it away,
//                                     so that it must repaint
//
// Every message goes through SendMessageTimeoutW, so a hung or busy Keyvora cannot hang the peek.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>

#include "json_text.h"
#include "ui/control_ids.h"

namespace {

constexpr UINT kSendTimeoutMs = 2000;

std::optional<LRESULT> send(HWND window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
        return std::nullopt;
    return static_cast<LRESULT>(result);
}

double now_ms() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

using keyvora::testing::json_string;
using keyvora::testing::to_utf8;

std::string json_int(long long value) { return std::to_string(value); }
std::string json_bool(bool value) { return value ? "true" : "false"; }

std::wstring window_text(HWND window) {
    auto length = send(window, WM_GETTEXTLENGTH);
    if (!length || *length <= 0) return {};
    std::wstring buffer(static_cast<size_t>(*length) + 1, L'\0');
    auto copied = send(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(copied ? static_cast<size_t>(*copied) : 0);
    return buffer;
}

int print(const std::string& json) {
    std::string line = json + "\n";
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
    return 0;
}

HWND window_argument(const wchar_t* text) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(std::wcstol(text, nullptr, 10)));
}

int command_state(HWND main) {
    if (!IsWindow(main)) return print("{\"exists\":false}");
    const double start = now_ms();
    const bool answered = send(main, WM_NULL).has_value();
    const double answer_ms = now_ms() - start;
    std::string out = "{\"exists\":true,\"answered\":" + json_bool(answered);
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.1f", answer_ms);
    out += ",\"answer_ms\":" + std::string(figure);
    if (answered) {
        HWND list = GetDlgItem(main, keyvora::ui::kIdStepList);
        HWND combo = GetDlgItem(main, keyvora::ui::kIdTargetList);
        auto rows = send(list, LVM_GETITEMCOUNT);
        auto selected = send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        auto chosen = send(combo, CB_GETCURSEL);
        out += ",\"rows\":" + json_int(rows ? static_cast<long long>(*rows) : -2);
        out += ",\"selected\":" + json_int(selected ? static_cast<int>(*selected) : -2);
        out += ",\"caption\":" + json_string(window_text(main));
        out += ",\"run_button\":" + json_string(window_text(GetDlgItem(main, keyvora::ui::kIdRunButton)));
        out += ",\"target_enabled\":" + json_bool(IsWindowEnabled(combo));
        out += ",\"target_chosen\":" + json_int(chosen ? static_cast<int>(*chosen) : -2);
    }
    return print(out + "}");
}

constexpr COLORREF kCoverColour = RGB(255, 0, 255);

LRESULT CALLBACK cover_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH brush = CreateSolidBrush(kCoverColour);
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Lays a magenta window over the given one for a while and takes it away again, so the covered
// window has to paint itself anew: a window whose thread serves no messages keeps showing stale
// or magenta pixels.
int command_cover(HWND main, int shown_ms) {
    if (!IsWindow(main)) return print("{\"exists\":false}");
    RECT outer{};
    GetWindowRect(main, &outer);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = cover_procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"KeyvoraPeekCover";
    RegisterClassExW(&window_class);
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, window_class.lpszClassName, L"",
                                 WS_POPUP, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
                                 nullptr, nullptr, window_class.hInstance, nullptr);
    if (cover == nullptr) return print("{\"exists\":true,\"covered\":false}");
    ShowWindow(cover, SW_SHOWNOACTIVATE);
    UpdateWindow(cover);
    const double start = now_ms();
    while (now_ms() - start < shown_ms) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(10);
    }
    DestroyWindow(cover);
    return print("{\"exists\":true,\"covered\":true}");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"state" && argc > 2) return command_state(window_argument(argv[2]));
    if (command == L"cover" && argc > 3) return command_cover(window_argument(argv[2]), _wtoi(argv[3]));
    std::fprintf(stderr, "usage: peek.exe state HWND | cover HWND MS\n");
    return 2;
}
