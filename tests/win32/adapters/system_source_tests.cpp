#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "adapters/win32_test_support.h"
#include "win32/gbk_convert.h"
#include "win32/win32_ports.h"

namespace keyvora::win32 {
namespace {

using testing::now_us;
using testing::ProbeWindow;
using testing::Recorder;

// 按键记录窗口: a Chinese caption, so the title crosses the GBK conversion.
const std::wstring kCaption = L"\u6309\u952E\u8BB0\u5F55\u7A97\u53E3";
const std::string kCaptionGbk = "\xB0\xB4\xBC\xFC\xBC\xC7\xC2\xBC\xB4\xB0\xBF\xDA";

std::string own_exe_name() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring full(path, length);
    return to_gbk(full.substr(full.find_last_of(L"\\/") + 1));
}

TEST(SystemSource, ListsProcessesAndTheirTopLevelWindows) {
    Recorder recorder(kCaption);
    ASSERT_TRUE(recorder.ready());
    ProbeWindow hidden(nullptr);  // a top-level window of this process without WS_VISIBLE
    Win32SystemSource source;

    const std::vector<ProcessEntry> processes = source.processes();
    const auto has_process = [&](std::uint32_t pid, const std::string& name) {
        return std::any_of(processes.begin(), processes.end(),
                           [&](const ProcessEntry& p) { return p.process_id == pid && p.exe_name == name; });
    };
    EXPECT_TRUE(has_process(recorder.process_id(), "recorder.exe"));
    EXPECT_TRUE(has_process(::GetCurrentProcessId(), own_exe_name()));

    const std::vector<TopLevelWindow> windows = source.top_level_windows();
    const auto find_window = [&](HWND window) {
        return std::find_if(windows.begin(), windows.end(),
                            [&](const TopLevelWindow& w) { return w.window == from_hwnd(window); });
    };
    const auto recorder_window = find_window(recorder.window());
    ASSERT_NE(windows.end(), recorder_window);
    EXPECT_EQ(recorder.process_id(), recorder_window->owner_process_id);
    EXPECT_TRUE(recorder_window->visible);
    const auto hidden_window = find_window(hidden.get());
    ASSERT_NE(windows.end(), hidden_window);
    EXPECT_EQ(::GetCurrentProcessId(), hidden_window->owner_process_id);
    EXPECT_FALSE(hidden_window->visible);
}

TEST(SystemSource, ReadsTitlesOfOtherProcessesAsGbk) {
    Recorder recorder(kCaption);
    ASSERT_TRUE(recorder.ready());
    Win32SystemSource source;
    EXPECT_EQ(kCaptionGbk, source.window_title(from_hwnd(recorder.window())));

    ProbeWindow untitled(nullptr);
    EXPECT_EQ("", source.window_title(from_hwnd(untitled.get())));
    EXPECT_EQ("", source.window_title(-1));
    EXPECT_EQ("", source.window_title(0));
}

TEST(SystemSource, TitleOfAHungWindowIsEmptyAndComesQuickly) {
    Recorder recorder(kCaption, L"--hang-after-ms 0");
    ASSERT_TRUE(recorder.ready());
    ASSERT_TRUE(
        recorder.wait_for_line([](const std::string& line) { return line.find(" hang") != std::string::npos; }, 5000));
    Win32SystemSource source;
    const std::int64_t start = now_us();
    const std::string title = source.window_title(from_hwnd(recorder.window()));
    const std::int64_t elapsed = now_us() - start;
    std::printf("title of a hung window read in %.3f ms\n", elapsed / 1000.0);
    EXPECT_EQ("", title);
    EXPECT_LT(elapsed, 500000);
}

}  // namespace
}  // namespace keyvora::win32
