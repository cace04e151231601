// The entries of the target drop-down: executable name, " 丨 ", window title, " 丨 ", handle.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runner/run_ports.h"

namespace keyvora {

struct ProcessEntry {
    std::uint32_t process_id = 0;
    std::string exe_name;  // GBK, as the snapshot reports it
};

struct TopLevelWindow {
    WindowId window = 0;
    std::uint32_t owner_process_id = 0;
    bool visible = false;  // WS_VISIBLE in its style
};

// The running processes and top-level windows, as the system reports them at one moment.
class SystemSource {
public:
    virtual ~SystemSource() = default;
    // In snapshot order.
    virtual std::vector<ProcessEntry> processes() = 0;
    // In enumeration order (top of the Z-order first).
    virtual std::vector<TopLevelWindow> top_level_windows() = 0;
    // The window's text; empty for no window, no text or a window that does not answer.
    virtual std::string window_title(WindowId window) = 0;
};

// "丨" inside the name or title is written as "|", so the third piece is always the handle.
std::string make_target_entry(std::string_view exe_name, std::string_view title, WindowId window);

// The handle read back from an entry: the third "丨" piece by the leading-number rule; 0 if absent.
WindowId target_handle_of_entry(std::string_view entry);

// Only ASCII A-Z lowered; double-byte characters left whole.
std::string lower_ascii_gbk(std::string_view name);

// The first visible window, in window order, of the first process in snapshot order whose name
// equals exe_name (ASCII case ignored) and that owns one; -1 when there is none.
WindowId find_window_of_exe(std::string_view exe_name, const std::vector<ProcessEntry>& processes,
                            const std::vector<TopLevelWindow>& windows);

// One entry per process, in snapshot order, from one snapshot and one window enumeration.
std::vector<std::string> build_target_entries(SystemSource& source);

}  // namespace keyvora
