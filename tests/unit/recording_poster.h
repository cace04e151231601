// A MessagePoster that keeps every posted message, and can report each one to a shared log so a
// test sees posts, waits and control changes in one sequence.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runner/input_poster.h"
#include "runner/run_ports.h"

namespace keyvora::testing {

struct PostedMessage {
    WindowId window = 0;
    std::uint32_t message = 0;
    std::uint32_t wparam = 0;
    std::uint32_t lparam = 0;

    friend bool operator==(const PostedMessage&, const PostedMessage&) = default;
};

class RecordingPoster final : public MessagePoster {
public:
    void post(WindowId window, std::uint32_t message, std::uint32_t wparam, std::uint32_t lparam) override {
        posted.push_back({window, message, wparam, lparam});
        if (on_post) on_post(posted.back());
    }

    WindowId desktop_icon_list() override {
        ++desktop_lookups;
        return desktop_window;
    }

    std::vector<PostedMessage> posted;
    WindowId desktop_window = 0;
    int desktop_lookups = 0;
    std::function<void(const PostedMessage&)> on_post;
};

// "key 13", "keyup 13", "move 1,2", "click 1,2", "release 1,2"; the window is left out.
inline std::string describe(const PostedMessage& m) {
    const auto point = [&] {
        const auto x = static_cast<std::int16_t>(m.lparam & 0xFFFF);
        const auto y = static_cast<std::int16_t>(m.lparam >> 16);
        return std::to_string(x) + "," + std::to_string(y);
    };
    switch (m.message) {
        case kWmKeyDown: return "key " + std::to_string(m.wparam);
        case kWmKeyUp: return "keyup " + std::to_string(m.wparam);
        case kWmMouseMove: return "move " + point();
        case kWmLButtonDown: return "click " + point();
        case kWmLButtonUp: return "release " + point();
        default: return "message " + std::to_string(m.message);
    }
}

}  // namespace keyvora::testing
