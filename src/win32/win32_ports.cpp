#include "win32/win32_ports.h"

#include <windows.h>
// After <windows.h>, which they need.
#include <mmsystem.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <type_traits>

#include "win32/gbk_convert.h"
#include "win32/handles.h"
#include "win32/message_pump.h"

namespace keyvora::win32 {
namespace {

// Title reads go to other programs' windows; one that does not answer within this time is
// skipped, so a hung program cannot stall the target list.
constexpr UINT kTitleTimeoutMs = 100;
// A window answers WM_GETTEXTLENGTH with whatever it likes; a reply beyond this is not a title
// and must not become an allocation that fails.
constexpr LRESULT kLongestTitle = 1 << 20;

std::int64_t qpc_now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

std::int64_t qpc_frequency() {
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return frequency;
}

// Split into whole seconds and the rest so that no product overflows, whatever the frequency.
std::int64_t ms_to_ticks(std::int64_t ms) {
    const std::int64_t f = qpc_frequency();
    return ms / 1000 * f + ms % 1000 * f / 1000;
}

// Rounded up: a wait that ends before the deadline would only be followed by another one.
DWORD ticks_to_ms_rounded_up(std::int64_t ticks) {
    const std::int64_t f = qpc_frequency();
    const std::int64_t ms = ticks / f * 1000 + (ticks % f * 1000 + f - 1) / f;
    return static_cast<DWORD>(std::min<std::int64_t>(ms, INFINITE - 1));
}

template <typename Callback>
BOOL CALLBACK enum_windows_thunk(HWND window, LPARAM context) {
    return (*reinterpret_cast<Callback*>(context))(window) ? TRUE : FALSE;
}

template <typename Callback>
void for_each_top_level_window(Callback&& callback) {
    using Stored = std::remove_reference_t<Callback>;
    ::EnumWindows(&enum_windows_thunk<Stored>, reinterpret_cast<LPARAM>(&callback));
}

}  // namespace

void Win32Poster::post(WindowId window, std::uint32_t message, std::uint32_t wparam, std::uint32_t lparam) {
    // Only to a window that exists: the handle -1 of an entry without a window is HWND_TOPMOST,
    // 65535 is HWND_BROADCAST, and either would spread the step over every top-level window.
    // A handle of 0 would only land in this thread's own queue, which reaches no window either.
    HWND target = to_hwnd(window);
    if (!::IsWindow(target)) return;
    ::PostMessageA(target, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
}

WindowId Win32Poster::desktop_icon_list() {
    HWND program_manager = ::FindWindowA("Progman", "Program Manager");
    HWND shell_view = ::FindWindowExA(program_manager, nullptr, "SHELLDLL_DefView", nullptr);
    HWND icon_list = ::FindWindowExA(shell_view, nullptr, "SysListView32", nullptr);
    return static_cast<WindowId>(from_hwnd(icon_list));
}

void Win32Waiter::wait_ms(std::int32_t ms, const std::function<bool()>& stop_requested) {
    const auto should_return = [&] { return (stop_requested && stop_requested()) || quit_requested(); };
    // The delay counts from the call, so the time spent serving messages (repainting the moved
    // selection, above all) is part of the delay rather than added to it.
    const std::int64_t deadline = qpc_now() + ms_to_ticks(std::max<std::int32_t>(ms, 0));
    pump_messages();
    if (ms > 0) {
        while (!should_return()) {
            const std::int64_t remaining = deadline - qpc_now();
            if (remaining <= 0)
                break;
            ::MsgWaitForMultipleObjectsEx(0, nullptr, ticks_to_ms_rounded_up(remaining), QS_ALLINPUT,
                                          MWMO_INPUTAVAILABLE);
            pump_messages();
        }
    }
    pump_messages();
}

void Win32Waiter::run_started() {
    if (fine_timer_)
        return;
    fine_timer_ = ::timeBeginPeriod(1) == TIMERR_NOERROR;
}

void Win32Waiter::run_ended() {
    if (!fine_timer_)
        return;
    ::timeEndPeriod(1);
    fine_timer_ = false;
}

std::vector<ProcessEntry> Win32SystemSource::processes() {
    std::vector<ProcessEntry> entries;
    unique_handle snapshot = adopt_file_handle(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return entries;
    PROCESSENTRY32W record{};
    record.dwSize = sizeof(record);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &record); more;
         more = ::Process32NextW(snapshot.get(), &record)) {
        entries.push_back(ProcessEntry{record.th32ProcessID, to_gbk(record.szExeFile)});
        record.dwSize = sizeof(record);
    }
    return entries;
}

std::vector<TopLevelWindow> Win32SystemSource::top_level_windows() {
    std::vector<TopLevelWindow> windows;
    for_each_top_level_window([&windows](HWND window) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        const bool visible = (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
        windows.push_back(TopLevelWindow{static_cast<WindowId>(from_hwnd(window)), owner, visible});
        return true;
    });
    return windows;
}

std::string Win32SystemSource::window_title(WindowId window_id) {
    HWND window = to_hwnd(window_id);
    if (!::IsWindow(window))
        return {};
    constexpr UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, flags, kTitleTimeoutMs, &length))
        return {};
    if (length == 0 || length > static_cast<DWORD_PTR>(kLongestTitle))
        return {};
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, title.size(), reinterpret_cast<LPARAM>(title.data()), flags,
                               kTitleTimeoutMs, &copied))
        return {};
    title.resize(std::min<std::size_t>(static_cast<std::size_t>(copied), title.size() - 1));
    title.resize(std::wcslen(title.c_str()));
    return to_gbk(title);
}

}  // namespace keyvora::win32
