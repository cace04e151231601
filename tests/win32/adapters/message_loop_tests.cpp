#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "adapters/win32_test_support.h"
#include "win32/message_pump.h"
#include "win32/win32_ports.h"

namespace keyvora::win32 {
namespace {

using testing::drain_queue;
using testing::now_us;
using testing::ProbeWindow;

constexpr UINT kPing = WM_APP + 1;

// What the timer callbacks below act on; a timer callback is a plain CALLBACK function.
struct TimerScene {
    HWND ping_target = nullptr;
    std::int64_t fired_at_us = 0;
    bool stop = false;
};
TimerScene scene;

// Thread timers repeat; each callback ends its own timer so that it acts once.
void CALLBACK post_ping(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    scene.fired_at_us = now_us();
    ::PostMessageW(scene.ping_target, kPing, 0, 0);
}
void CALLBACK request_stop(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    scene.fired_at_us = now_us();
    scene.stop = true;
}
void CALLBACK request_quit(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    scene.fired_at_us = now_us();
    ::PostQuitMessage(0);
}

class MessageLoop : public ::testing::Test {
  protected:
    void SetUp() override { scene = TimerScene{}; }
    void TearDown() override { drain_queue(); }
};

TEST_F(MessageLoop, PumpHandlesMessagesPostedMeanwhileAndLeavesQuitQueued) {
    std::vector<WPARAM> handled;
    ProbeWindow window([&](HWND self, UINT message, WPARAM wparam, LPARAM) {
        if (message != kPing)
            return;
        handled.push_back(wparam);
        if (wparam == 1)
            ::PostMessageW(self, kPing, 2, 0);  // posted while the pump runs
    });
    ::PostMessageW(window.get(), kPing, 1, 0);
    ::PostQuitMessage(7);
    EXPECT_TRUE(quit_requested());

    pump_messages();

    EXPECT_EQ((std::vector<WPARAM>{1, 2}), handled);
    ASSERT_TRUE(quit_requested());
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), message.message);
    EXPECT_EQ(7u, message.wParam);
    EXPECT_FALSE(quit_requested());
}

TEST_F(MessageLoop, PumpStopsAtQuitEvenWithMessagesBehindIt) {
    int handled = 0;
    ProbeWindow window([&](HWND, UINT message, WPARAM, LPARAM) { handled += message == kPing; });
    // A WM_QUIT posted as an ordinary message sits in the queue ahead of the ping.
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_QUIT, 0, 0);
    ::PostMessageW(window.get(), kPing, 0, 0);
    pump_messages();
    EXPECT_EQ(0, handled);
    EXPECT_TRUE(quit_requested());
}

// Esc in a child of a registered window becomes the root's IDCANCEL command; elsewhere it is an
// ordinary key message of the child.
TEST_F(MessageLoop, DispatchGivesDialogNavigationOnlyToRegisteredWindows) {
    for (const bool registered : {true, false}) {
        int cancel_commands = 0;
        int child_key_downs = 0;
        ProbeWindow root([&](HWND, UINT message, WPARAM wparam, LPARAM) {
            cancel_commands += message == WM_COMMAND && LOWORD(wparam) == IDCANCEL;
        });
        ProbeWindow child([&](HWND, UINT message, WPARAM, LPARAM) { child_key_downs += message == WM_KEYDOWN; },
                          root.get());
        if (registered)
            register_navigation_window(root.get());
        ::PostMessageW(child.get(), WM_KEYDOWN, VK_ESCAPE, 0);
        pump_messages();
        unregister_navigation_window(root.get());

        EXPECT_EQ(registered ? 1 : 0, cancel_commands) << "registered " << registered;
        EXPECT_EQ(registered ? 0 : 1, child_key_downs) << "registered " << registered;
    }
}

// A wait is as long as asked while the queue is served meanwhile: a message posted by a timer
// halfway through is handled at its time, not after the wait.
TEST_F(MessageLoop, WaitLastsItsTimeAndServesMessagesMeanwhile) {
    std::int64_t handled_at_us = 0;
    ProbeWindow window([&](HWND, UINT message, WPARAM, LPARAM) {
        if (message == kPing)
            handled_at_us = now_us();
    });
    scene.ping_target = window.get();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, post_ping);

    Win32Waiter waiter;
    waiter.run_started();
    const std::int64_t start = now_us();
    waiter.wait_ms(200, [] { return false; });
    const std::int64_t elapsed = now_us() - start;
    waiter.run_ended();
    ::KillTimer(nullptr, timer);

    std::printf("200 ms wait took %.3f ms; a message posted after %.3f ms was handled after %.3f ms\n",
                elapsed / 1000.0, (scene.fired_at_us - start) / 1000.0, (handled_at_us - start) / 1000.0);
    EXPECT_GE(elapsed, 200000);
    EXPECT_LE(elapsed, 215000);  // scheduling on a busy machine adds a little; the figure is printed above
    EXPECT_GT(handled_at_us, start + 40000);
    EXPECT_LT(handled_at_us, start + 150000);
}

TEST_F(MessageLoop, WaitEndsAtOnceWhenAStopIsRequestedOrTheProgramQuits) {
    for (const bool by_quit : {false, true}) {
        scene = TimerScene{};
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, by_quit ? request_quit : request_stop);
        Win32Waiter waiter;
        const std::int64_t start = now_us();
        waiter.wait_ms(5000, [] { return scene.stop; });
        const std::int64_t end = now_us();
        ::KillTimer(nullptr, timer);

        std::printf("%s after %.3f ms ended the 5000 ms wait %.3f ms later\n", by_quit ? "WM_QUIT" : "a stop",
                    (scene.fired_at_us - start) / 1000.0, (end - scene.fired_at_us) / 1000.0);
        ASSERT_NE(0, scene.fired_at_us);
        EXPECT_LT(end - start, 2500000);
        EXPECT_EQ(by_quit, quit_requested());
        drain_queue();
    }
}

TEST_F(MessageLoop, WaitOfNoTimeStillServesTheQueue) {
    for (const std::int32_t ms : {0, -5}) {
        int handled = 0;
        ProbeWindow window([&](HWND, UINT message, WPARAM, LPARAM) { handled += message == kPing; });
        ::PostMessageW(window.get(), kPing, 0, 0);
        Win32Waiter waiter;
        const std::int64_t start = now_us();
        waiter.wait_ms(ms, [] { return false; });
        EXPECT_EQ(1, handled) << ms;
        EXPECT_LT(now_us() - start, 50000) << ms;
    }
}

// Short delays are where precision shows; the figures go to the output, the one hard rule being
// that no wait ends early.
TEST_F(MessageLoop, ShortWaitsNeverEndEarly) {
    Win32Waiter waiter;
    waiter.run_started();
    for (const std::int32_t ms : {1, 2, 10, 25}) {
        constexpr int kRounds = 40;
        std::int64_t shortest = INT64_MAX, longest = 0, total = 0;
        for (int i = 0; i < kRounds; ++i) {
            const std::int64_t start = now_us();
            waiter.wait_ms(ms, [] { return false; });
            const std::int64_t elapsed = now_us() - start;
            shortest = std::min(shortest, elapsed);
            longest = std::max(longest, elapsed);
            total += elapsed;
        }
        std::printf("wait_ms(%d) x%d: min %.3f ms, mean %.3f ms, max %.3f ms\n", ms, kRounds, shortest / 1000.0,
                    total / 1000.0 / kRounds, longest / 1000.0);
        EXPECT_GE(shortest, ms * 1000) << ms;
    }
    waiter.run_ended();
}

}  // namespace
}  // namespace keyvora::win32
