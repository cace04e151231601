// Times one target list fill, the program's build_target_entries over the real process and window
// lists, against the per-process yardstick, with 10, 50 and 100 extra processes running, and
// checks that both give the same entries.
//
//   target_fill.exe WORK_FOLDER [COUNT...]
// The extra processes are copies of bench_window.exe (beside this program): every second one
// shows a window, and every fourth pair shares its executable name, written in other letter case
// for the hidden one, so the hidden process shows the visible one's window.
// Output, one line per count:
//   "extra <n> processes <entries> fast_ms <median> reference_ms <median> runs <r> identical <yes|no>"
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "per_process_fill.h"
#include "target/target_entry.h"
#include "win32/handles.h"
#include "win32/win32_ports.h"

namespace {

using keyvora::win32::unique_handle;

struct Child {
    unique_handle process;
    ~Child() {
        if (process) {
            ::TerminateProcess(process.get(), 0);
            ::WaitForSingleObject(process.get(), 5000);
        }
    }
    Child(unique_handle handle) : process(std::move(handle)) {}
    Child(Child&&) = default;
};

std::wstring folder_of_this_program() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// The executable of extra process i: its own name, or, for i % 4 == 2 and 3, a name shared by
// the pair (the hidden one's in capitals, in another folder, as the file system ignores case).
std::wstring exe_for(int i, const std::wstring& work) {
    if (i % 4 < 2) return work + L"unique\\fill_u" + std::to_wstring(i) + L".exe";
    if (i % 4 == 2) return work + L"shared\\fill_p" + std::to_wstring(i / 4) + L".exe";
    return work + L"upper\\FILL_P" + std::to_wstring(i / 4) + L".exe";
}

bool start_extra(int i, const std::wstring& work, const std::wstring& source, std::vector<Child>& children) {
    const std::wstring exe = exe_for(i, work);
    ::CreateDirectoryW(exe.substr(0, exe.find_last_of(L'\\')).c_str(), nullptr);
    if (!::CopyFileW(source.c_str(), exe.c_str(), FALSE)) return false;
    std::wstring command_line = L"\"" + exe + L"\"" + (i % 2 == 0 ? L"" : L" --hidden") + L" Fill " + std::to_wstring(i);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return false;
    ::CloseHandle(process.hThread);
    children.emplace_back(unique_handle(process.hProcess));
    // Its window exists once it waits for input for the first time.
    ::WaitForInputIdle(process.hProcess, 20000);
    return true;
}

template <typename Fill>
double time_ms(Fill&& fill, std::vector<std::string>& entries) {
    const auto start = std::chrono::steady_clock::now();
    entries = fill();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void report_difference(const std::vector<std::string>& fast, const std::vector<std::string>& reference) {
    std::fprintf(stderr, "entries differ: %zu fast, %zu reference\n", fast.size(), reference.size());
    for (std::size_t i = 0; i < std::max(fast.size(), reference.size()); ++i) {
        const std::string a = i < fast.size() ? fast[i] : "(none)";
        const std::string b = i < reference.size() ? reference[i] : "(none)";
        if (a != b) std::fprintf(stderr, "  %zu: fast [%s] reference [%s]\n", i, a.c_str(), b.c_str());
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::wstring work = argv[1];
    if (work.back() != L'\\') work += L'\\';
    std::vector<int> counts;
    for (int i = 2; i < argc; ++i) counts.push_back(static_cast<int>(std::wcstol(argv[i], nullptr, 10)));
    if (counts.empty()) counts = {10, 50, 100};
    std::sort(counts.begin(), counts.end());
    const std::wstring source = folder_of_this_program() + L"bench_window.exe";
    ::CreateDirectoryW(work.c_str(), nullptr);

    std::vector<Child> children;
    keyvora::win32::Win32SystemSource system;
    const auto fast_fill = [&system] { return keyvora::build_target_entries(system); };
    const auto reference_fill = [] { return keyvora::bench::per_process_target_entries(); };
    bool all_identical = true;
    for (int count : counts) {
        while (static_cast<int>(children.size()) < count) {
            if (!start_extra(static_cast<int>(children.size()), work, source, children)) {
                std::fprintf(stderr, "could not start extra process %zu\n", children.size());
                return 3;
            }
        }
        ::Sleep(300);  // let the last windows settle
        constexpr int kRuns = 5;
        std::vector<double> fast_times, reference_times;
        std::vector<std::string> fast, reference;
        bool identical = true;
        for (int run = 0; run < kRuns; ++run) {
            reference_times.push_back(time_ms(reference_fill, reference));
            fast_times.push_back(time_ms(fast_fill, fast));
            if (fast != reference) {
                // A process of the system may have come or gone between the two; one retry tells
                // that apart from a real difference.
                time_ms(reference_fill, reference);
                time_ms(fast_fill, fast);
                if (fast != reference) {
                    identical = false;
                    report_difference(fast, reference);
                }
            }
        }
        all_identical = all_identical && identical;
        // Where the fill's time goes: the snapshot and the enumeration alone; the rest is reading
        // titles from the other programs' windows.
        std::vector<double> snapshot_times, enumeration_times;
        for (int run = 0; run < kRuns; ++run) {
            auto start = std::chrono::steady_clock::now();
            const auto processes = system.processes();
            auto middle = std::chrono::steady_clock::now();
            const auto windows = system.top_level_windows();
            auto end = std::chrono::steady_clock::now();
            snapshot_times.push_back(std::chrono::duration<double, std::milli>(middle - start).count());
            enumeration_times.push_back(std::chrono::duration<double, std::milli>(end - middle).count());
        }
        std::printf("extra %d processes %zu fast_ms %.3f reference_ms %.3f runs %d identical %s snapshot_ms %.3f "
                    "windows_ms %.3f\n",
                    count, fast.size(), median(fast_times), median(reference_times), kRuns, identical ? "yes" : "no",
                    median(snapshot_times), median(enumeration_times));
        std::fflush(stdout);
    }
    return all_identical ? 0 : 1;
}
