// Watches programs from inside the Wine prefix, where the clock and the window system are those
// of the programs themselves. Times are printed in microseconds of QueryPerformanceCounter, the
// clock the recorder stamps its log with, so the two can be compared.
//
//   bench_agent.exe launch EXE CLASS [--keep]   start EXE, wait until a visible top-level window of
//                                               class CLASS of that process exists:
//                                               "ms <elapsed> pid <pid> hwnd <hwnd>"
//   bench_agent.exe memory PID                  "private <bytes> working_set <bytes>"
//   bench_agent.exe home HWND idle|busy         press Home (SendInput), wait until the run button of
//                                               main window HWND reads the idle or busy caption:
//                                               "pressed_us <t> shown_us <t>"
//   bench_agent.exe rows HWND COUNT SECONDS     wait until the step list holds COUNT rows:
//                                               "rows <count> ms <elapsed>"
//   bench_agent.exe show HWND SW          ShowWindow(HWND, SW), e.g. 6 to minimise, 9 to restore
//   bench_agent.exe kill PID
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <string>
#include <type_traits>

#include "qpc_clock.h"

namespace {

// The run button's two captions: 执行脚本(Home键) and 停止执行(Home键).
constexpr wchar_t kRunIdleText[] = L"\u6267\u884C\u811A\u672C(Home\u952E)";
constexpr wchar_t kRunBusyText[] = L"\u505C\u6B62\u6267\u884C(Home\u952E)";
constexpr int kIdStepList = 1002;
constexpr int kIdRunButton = 1003;

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept {
        if (handle != nullptr) ::CloseHandle(handle);
    }
};
using unique_handle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

// The recorder's log clock, so a key press and the messages after it compare.
using keyvora::testing::now_us;

HWND hwnd_argument(const wchar_t* text) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(std::wcstol(text, nullptr, 10)));
}

struct WindowQuery {
    DWORD process_id;
    const wchar_t* class_name;
    HWND found;
};

BOOL CALLBACK match_window(HWND window, LPARAM context) {
    auto* query = reinterpret_cast<WindowQuery*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t class_name[256];
    if (owner == query->process_id && ::IsWindowVisible(window) &&
        ::GetClassNameW(window, class_name, 256) > 0 && std::wcscmp(class_name, query->class_name) == 0) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

int launch(const wchar_t* exe, const wchar_t* class_name, bool keep) {
    std::wstring command_line = std::wstring(L"\"") + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const long long start = now_us();
    if (!::CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return 3;
    unique_handle process_handle(process.hProcess), thread_handle(process.hThread);
    WindowQuery query{process.dwProcessId, class_name, nullptr};
    while (query.found == nullptr) {
        if (now_us() - start > 60'000'000 || ::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) return 4;
        ::EnumWindows(match_window, reinterpret_cast<LPARAM>(&query));
        if (query.found == nullptr) ::Sleep(1);
    }
    const long long shown = now_us();
    std::printf("ms %.3f pid %lu hwnd %ld\n", static_cast<double>(shown - start) / 1000.0,
                static_cast<unsigned long>(process.dwProcessId),
                static_cast<long>(reinterpret_cast<LONG_PTR>(query.found)));
    if (!keep) {
        ::TerminateProcess(process.hProcess, 0);
        ::WaitForSingleObject(process.hProcess, 10000);
    }
    return 0;
}

int memory(DWORD process_id) {
    unique_handle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id));
    if (!process) return 3;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof(counters)))
        return 4;
    std::printf("private %lu working_set %lu\n", static_cast<unsigned long>(counters.PrivateUsage),
                static_cast<unsigned long>(counters.WorkingSetSize));
    return 0;
}

// A key press and release. The scan code is looked up here, before any clock is read: the first
// lookup in a process loads the keyboard layout, which takes far longer than the press itself.
struct KeyPress {
    INPUT inputs[2]{};
    explicit KeyPress(WORD key) {
        for (INPUT& input : inputs) {
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
        }
        inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    }
    void send() { ::SendInput(2, inputs, sizeof(INPUT)); }
};

std::wstring text_of(HWND window) {
    // Another process's window: the text comes from the window manager, the program is not asked,
    // so the poll does not disturb it.
    wchar_t text[128] = L"";
    ::GetWindowTextW(window, text, 128);
    return text;
}

int press_home(HWND main_window, bool wait_for_idle) {
    HWND button = ::GetDlgItem(main_window, kIdRunButton);
    if (button == nullptr) return 3;
    const wchar_t* wanted = wait_for_idle ? kRunIdleText : kRunBusyText;
    KeyPress home(VK_HOME);
    text_of(button);
    const long long pressed = now_us();
    home.send();
    while (text_of(button) != wanted) {
        if (now_us() - pressed > 20'000'000) return 4;
        ::Sleep(1);
    }
    std::printf("pressed_us %lld shown_us %lld\n", pressed, now_us());
    return 0;
}

int wait_rows(HWND main_window, long wanted, double seconds) {
    HWND list = ::GetDlgItem(main_window, kIdStepList);
    if (list == nullptr) return 3;
    const long long start = now_us();
    DWORD_PTR count = 0;
    for (;;) {
        ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count);
        if (static_cast<long>(count) == wanted || now_us() - start > static_cast<long long>(seconds * 1e6)) break;
        ::Sleep(5);
    }
    std::printf("rows %ld ms %.3f\n", static_cast<long>(count), static_cast<double>(now_us() - start) / 1000.0);
    return static_cast<long>(count) == wanted ? 0 : 4;
}

int kill(DWORD process_id) {
    unique_handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process_id));
    if (!process) return 3;
    ::TerminateProcess(process.get(), 0);
    ::WaitForSingleObject(process.get(), 10000);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    // Sleep(1) then sleeps about 1 ms, which sets the resolution of every poll above.
    ::timeBeginPeriod(1);
    const std::wstring command = argv[1];
    int result = 2;
    if (command == L"launch" && argc >= 4) {
        result = launch(argv[2], argv[3], argc >= 5 && std::wcscmp(argv[4], L"--keep") == 0);
    } else if (command == L"memory" && argc >= 3) {
        result = memory(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    } else if (command == L"home" && argc >= 4) {
        result = press_home(hwnd_argument(argv[2]), std::wcscmp(argv[3], L"idle") == 0);
    } else if (command == L"rows" && argc >= 5) {
        result = wait_rows(hwnd_argument(argv[2]), std::wcstol(argv[3], nullptr, 10), std::wcstod(argv[4], nullptr));
    } else if (command == L"show" && argc >= 4) {
        ::ShowWindow(hwnd_argument(argv[2]), static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
        result = 0;
    } else if (command == L"kill" && argc >= 3) {
        result = kill(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    }
    ::timeEndPeriod(1);
    std::fflush(stdout);
    return result;
}
