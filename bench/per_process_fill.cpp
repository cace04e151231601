#include "per_process_fill.h"

#include <windows.h>
#include <tlhelp32.h>

#include <memory>
#include <type_traits>

#include "target/target_entry.h"
#include "win32/handles.h"

// The program is built for the wide functions; this yardstick uses the ANSI snapshot calls, whose
// names the header maps to the wide ones.
#undef Process32First
#undef Process32Next
using AnsiProcessEntry = tagPROCESSENTRY32;
static_assert(sizeof(AnsiProcessEntry) == 296);

namespace keyvora::bench {
namespace {

// The ANSI snapshot: names arrive in the system code page, GBK under the benchmark's locale.
std::vector<ProcessEntry> take_snapshot() {
    std::vector<ProcessEntry> processes;
    win32::unique_handle snapshot = win32::adopt_file_handle(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return processes;
    AnsiProcessEntry record{};
    record.dwSize = sizeof(record);
    for (BOOL more = ::Process32First(snapshot.get(), &record); more; more = ::Process32Next(snapshot.get(), &record))
        processes.push_back(ProcessEntry{record.th32ProcessID, record.szExeFile});
    return processes;
}

BOOL CALLBACK collect_visible(HWND window, LPARAM context) {
    if (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

long find_window_of_exe_per_process(const std::string& exe_name) {
    std::vector<HWND> visible;
    ::EnumWindows(collect_visible, reinterpret_cast<LPARAM>(&visible));
    const std::string wanted = lower_ascii_gbk(exe_name);
    for (const ProcessEntry& process : take_snapshot()) {
        if (lower_ascii_gbk(process.exe_name) != wanted) continue;
        for (HWND window : visible) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == process.process_id) return win32::from_hwnd(window);
        }
    }
    return -1;
}

std::string read_window_title(long handle) {
    HWND window = win32::to_hwnd(handle);
    if (!::IsWindow(window)) return {};
    const LRESULT length = ::SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(std::char_traits<char>::length(buffer.c_str()));
    return buffer;
}

}  // namespace

std::vector<std::string> per_process_target_entries() {
    std::vector<std::string> entries;
    for (const ProcessEntry& process : take_snapshot()) {
        const long window = find_window_of_exe_per_process(process.exe_name);
        entries.push_back(make_target_entry(process.exe_name, read_window_title(window), window));
    }
    return entries;
}

}  // namespace keyvora::bench
