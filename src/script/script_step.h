// One row of the script and how a step text is taken apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keyvora {

struct ScriptStep {
    std::string step_text;   // column 0: "按键：" + key name, or "鼠标：" + x + "," + y
    std::string delay_text;  // column 1: milliseconds as typed

    friend bool operator==(const ScriptStep&, const ScriptStep&) = default;
};

struct MousePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const MousePoint&, const MousePoint&) = default;
};

// A key step is any text whose first 4 bytes are "按键"; everything else is a mouse step.
bool is_key_step(std::string_view step_text);

// The step text without its first 6 bytes (the prefix "按键：" or "鼠标：").
std::string step_payload(std::string_view step_text);

// The x and y of a mouse payload split at ","; nothing when it gives fewer than two pieces.
std::optional<MousePoint> read_mouse_point(std::string_view payload);

std::string make_key_step_text(std::string_view key_name);
std::string make_mouse_step_text(std::string_view x_text, std::string_view y_text);

}  // namespace keyvora
