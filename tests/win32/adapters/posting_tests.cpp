#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/win32_test_support.h"
#include "runner/input_poster.h"
#include "runner/script_runner.h"
#include "script/gbk_text.h"
#include "script/key_names.h"
#include "target/target_entry.h"
#include "vector_step_list.h"
#include "win32/gbk_convert.h"
#include "win32/handles.h"
#include "win32/win32_ports.h"

namespace keyvora::win32 {
namespace {

using testing::LoggedMessage;
using testing::Recorder;

const std::string kEnterKeyName = "\xBB\xD8\xB3\xB5\xBC\xFC";  // 回车键
const std::string kAKeyName = "A\xBC\xFC";                     // A键

struct Expected {
    const char* name;
    std::uint32_t wparam;
    std::uint32_t lparam;
};

// The messages the recorder got, its own WM_CHAR translations of key messages left out.
std::vector<LoggedMessage> posted_only(const std::vector<LoggedMessage>& logged) {
    std::vector<LoggedMessage> posted;
    for (const LoggedMessage& m : logged)
        if (m.name != "WM_CHAR")
            posted.push_back(m);
    return posted;
}

void expect_messages(const std::vector<Expected>& expected,
                     const std::vector<LoggedMessage>& logged,
                     const char* label) {
    ASSERT_EQ(expected.size(), logged.size()) << label;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].name, logged[i].name) << label << " #" << i;
        EXPECT_EQ(expected[i].wparam, logged[i].wparam) << label << " #" << i;
        EXPECT_EQ(expected[i].lparam, logged[i].lparam) << label << " #" << i;
    }
}

class Posting : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(recorder_.ready());
        // Keep the real pointer off the recorder, so no mouse move of its own comes between.
        RECT frame{};
        ::GetWindowRect(recorder_.window(), &frame);
        ::SetCursorPos(frame.right + 50, frame.bottom + 50);
        baseline_ = recorder_.messages_until_marker().size();
        target_ = static_cast<WindowId>(from_hwnd(recorder_.window()));
    }

    // What arrived since SetUp; the index counts SetUp's own marker line.
    std::vector<LoggedMessage> received() { return posted_only(recorder_.messages_until_marker(baseline_ + 1)); }

    Recorder recorder_;
    std::size_t baseline_ = 0;
    WindowId target_ = 0;
    Win32Poster poster_;
};

TEST_F(Posting, KeyAndClickStepsArriveAsExactlyTheirMessages) {
    struct Case {
        const char* label;
        std::function<void(MessagePoster&, WindowId)> send;
        std::vector<Expected> expected;
    };
    const Case cases[] = {
        {"enter key",
         [](MessagePoster& p, WindowId w) { post_key(p, w, key_code_from_name(kEnterKeyName)); },
         {{"WM_KEYDOWN", 0x0D, 0}, {"WM_KEYUP", 0x0D, 0}}},
        {"click at 100,200",
         [](MessagePoster& p, WindowId w) { post_left_click(p, w, 100, 200); },
         {{"WM_MOUSEMOVE", 2, 0x00C80064}, {"WM_LBUTTONDOWN", 1, 0x00C80064}, {"WM_LBUTTONUP", 0, 0x00C80064}}},
        {"click at -1,5",
         [](MessagePoster& p, WindowId w) { post_left_click(p, w, -1, 5); },
         {{"WM_MOUSEMOVE", 2, 0x0005FFFF}, {"WM_LBUTTONDOWN", 1, 0x0005FFFF}, {"WM_LBUTTONUP", 0, 0x0005FFFF}}},
    };
    for (const Case& c : cases) {
        const std::size_t before = recorder_.messages().size();
        c.send(poster_, target_);
        expect_messages(c.expected, posted_only(recorder_.messages_until_marker(before)), c.label);
    }
}

// Handles that name no window, -1 above all (the entry of a process without one), must not turn
// into a broadcast to every top-level window: nothing may reach the recorder.
TEST_F(Posting, StepsToAHandleThatNamesNoWindowReachNoWindow) {
    for (const WindowId nowhere : {WindowId{-1}, WindowId{0xFFFF}, WindowId{0x7FFF0000}}) {
        const std::size_t before = recorder_.messages().size();
        post_key(poster_, nowhere, 0x41);
        post_left_click(poster_, nowhere, 10, 20);
        EXPECT_TRUE(posted_only(recorder_.messages_until_marker(before)).empty()) << "handle " << nowhere;
    }
}

// A run of three steps through the real runner, poster and waiter: the steps arrive in order, the
// gaps between them are the delays, and a stop during the third delay ends the run there.
struct RecordingControls final : RunControls {
    std::string target_text;
    std::string chosen_target_text() const override { return target_text; }
    void set_target_list_enabled(bool) override {}
    void set_run_button_text(std::string_view) override {}
    void set_window_caption(std::string_view) override {}
    void beep(unsigned) override {}
};

ScriptRunner* g_runner = nullptr;

void CALLBACK stop_the_run(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    if (g_runner != nullptr && g_runner->is_running())
        g_runner->toggle_run();
}

TEST_F(Posting, ScriptRunArrivesInOrderWithItsDelaysBetweenSteps) {
    constexpr int kFirstDelay = 40, kSecondDelay = 75;
    keyvora::testing::VectorStepList steps({
        {std::string(gbk::kKeyStepPrefix) + kAKeyName, std::to_string(kFirstDelay)},
        {std::string(gbk::kMouseStepPrefix) + "10,20", std::to_string(kSecondDelay)},
        {std::string(gbk::kKeyStepPrefix) + kEnterKeyName, "5000"},
    });
    RecordingControls controls;
    controls.target_text = make_target_entry("recorder.exe", "", target_);
    Win32Waiter waiter;
    ScriptRunner runner(steps, controls, poster_, waiter);
    g_runner = &runner;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kFirstDelay + kSecondDelay + 300, stop_the_run);

    const std::int64_t start = testing::now_us();
    runner.toggle_run();
    const std::int64_t run_length = testing::now_us() - start;
    ::KillTimer(nullptr, timer);
    g_runner = nullptr;

    EXPECT_FALSE(runner.is_running());
    EXPECT_EQ(target_, runner.target_hwnd());
    const std::vector<LoggedMessage> got = received();
    const std::uint32_t at_10_20 = 0x0014000A;
    expect_messages({{"WM_KEYDOWN", 0x41, 0},
                     {"WM_KEYUP", 0x41, 0},
                     {"WM_MOUSEMOVE", 2, at_10_20},
                     {"WM_LBUTTONDOWN", 1, at_10_20},
                     {"WM_LBUTTONUP", 0, at_10_20},
                     {"WM_KEYDOWN", 0x0D, 0},
                     {"WM_KEYUP", 0x0D, 0}},
                    got, "three steps");
    ASSERT_EQ(7u, got.size());
    const double first_gap = (got[2].us - got[0].us) / 1000.0;
    const double second_gap = (got[5].us - got[2].us) / 1000.0;
    std::printf("gaps logged by the recorder: %.3f ms (delay %d), %.3f ms (delay %d); run ended after %.3f ms\n",
                first_gap, kFirstDelay, second_gap, kSecondDelay, run_length / 1000.0);
    // Never shorter than the delay; a little longer is the scheduling of two processes.
    EXPECT_GE(first_gap, kFirstDelay - 0.5);
    EXPECT_LE(first_gap, kFirstDelay + 15.0);
    EXPECT_GE(second_gap, kSecondDelay - 0.5);
    EXPECT_LE(second_gap, kSecondDelay + 15.0);
    // The stop cut the 5000 ms delay of the last step short.
    EXPECT_LT(run_length, 3000000);
}

// The target list built from the real system: the recorder's own entry, and handle -1 for a
// process without a visible window, this test program being one.
TEST_F(Posting, TargetListHoldsTheRecorderAndProcessesWithoutWindows) {
    Win32SystemSource source;
    const std::vector<std::string> entries = build_target_entries(source);
    const std::string caption = to_gbk(L"Keyvora Recorder");
    const std::string recorder_entry = make_target_entry("recorder.exe", caption, target_);
    EXPECT_EQ("recorder.exe \xD8\xAD Keyvora Recorder \xD8\xAD " + std::to_string(target_), recorder_entry);
    ASSERT_NE(entries.end(), std::find(entries.begin(), entries.end(), recorder_entry));
    EXPECT_EQ(target_, target_handle_of_entry(recorder_entry));

    wchar_t path[MAX_PATH];
    const std::wstring full(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    const std::string no_window = " \xD8\xAD  \xD8\xAD -1";  // " 丨  丨 -1"
    const std::string own_entry = to_gbk(full.substr(full.find_last_of(L"\\/") + 1)) + no_window;
    EXPECT_NE(entries.end(), std::find(entries.begin(), entries.end(), own_entry)) << own_entry;
    int without_window = 0;
    for (const std::string& entry : entries)
        without_window += std::string_view(entry).ends_with(no_window);
    std::printf("%zu entries, %d of them for processes without a visible window\n", entries.size(), without_window);
}

}  // namespace
}  // namespace keyvora::win32
