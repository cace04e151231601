// What the runner needs from the outside world, as small interfaces: the Win32 layer implements
// them for the real program, the unit tests with recording fakes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace keyvora {

// A window handle as the script sees it: 32 bits, signed (-1 for "no usable window").
using WindowId = std::int32_t;

inline constexpr unsigned kBeepDefault = 0x00;      // MB_OK: refused toggle, stop, rejected step
inline constexpr unsigned kBeepInformation = 0x40;  // MB_ICONINFORMATION: run started, mouse step added

// The controls of the main window that show the state of a run.
class RunControls {
public:
    virtual ~RunControls() = default;
    // Text of the chosen target entry; empty when none is chosen.
    virtual std::string chosen_target_text() const = 0;
    virtual void set_target_list_enabled(bool enabled) = 0;
    virtual void set_run_button_text(std::string_view gbk_text) = 0;
    virtual void set_window_caption(std::string_view gbk_text) = 0;
    virtual void beep(unsigned sound) = 0;
};

// Puts messages into a window's queue without waiting for them to be handled.
class MessagePoster {
public:
    virtual ~MessagePoster() = default;
    virtual void post(WindowId window, std::uint32_t message, std::uint32_t wparam, std::uint32_t lparam) = 0;
    // The desktop's icon list, which receives mouse steps when the target handle is 0.
    virtual WindowId desktop_icon_list() = 0;
};

// Waits out a step's delay while the program's own messages keep being served.
class DelayWaiter {
public:
    virtual ~DelayWaiter() = default;
    // Serves pending messages, waits ms milliseconds (none for ms <= 0), serves messages again.
    // Returns early, as soon as it is seen, once stop_requested() is true.
    virtual void wait_ms(std::int32_t ms, const std::function<bool()>& stop_requested) = 0;
    // Brackets a run, so the platform can sharpen its timers for short delays.
    virtual void run_started() {}
    virtual void run_ended() {}
};

}  // namespace keyvora
