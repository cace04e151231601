// The Win32 implementations of the runner's and the target list's ports.
#pragma once

#include "runner/run_ports.h"
#include "target/target_entry.h"

namespace keyvora::win32 {

// PostMessageA into the target's queue; the desktop's icon list found through Progman.
class Win32Poster final : public MessagePoster {
public:
    void post(WindowId window, std::uint32_t message, std::uint32_t wparam, std::uint32_t lparam) override;
    WindowId desktop_icon_list() override;
};

// Waits on a deadline with MsgWaitForMultipleObjectsEx, dispatching what arrives, so the program
// stays responsive during long delays and a stop ends the wait at once. Holds 1 ms timer
// resolution for the length of a run.
class Win32Waiter final : public DelayWaiter {
public:
    void wait_ms(std::int32_t ms, const std::function<bool()>& stop_requested) override;
    void run_started() override;
    void run_ended() override;

private:
    bool fine_timer_ = false;
};

// Toolhelp process snapshot, EnumWindows, and titles read with a timeout so a hung program
// cannot stall the list.
class Win32SystemSource final : public SystemSource {
public:
    std::vector<ProcessEntry> processes() override;
    std::vector<TopLevelWindow> top_level_windows() override;
    std::string window_title(WindowId window) override;
};

}  // namespace keyvora::win32
