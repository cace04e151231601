#include "script/script_step.h"

#include <vector>

#include "script/gbk_text.h"
#include "script/leading_number.h"
#include "script/text_rules.h"

namespace keyvora {

namespace {
constexpr long long kStepPrefixBytes = 6;  // "按键：" and "鼠标：" are both 6 bytes
constexpr std::string_view kCoordinateSeparator = ",";
}  // namespace

bool is_key_step(std::string_view step_text) {
    // Only the word 按键 decides; the colon after it is not examined.
    return first_bytes(step_text, static_cast<long long>(gbk::kKeyWord.size())) == gbk::kKeyWord;
}

std::string step_payload(std::string_view step_text) {
    return last_bytes(step_text, static_cast<long long>(step_text.size()) - kStepPrefixBytes);
}

std::optional<MousePoint> read_mouse_point(std::string_view payload) {
    const std::vector<std::string> pieces = split_text(payload, kCoordinateSeparator);
    if (pieces.size() < 2)
        return std::nullopt;
    return MousePoint{read_leading_int(pieces[0]), read_leading_int(pieces[1])};
}

std::string make_key_step_text(std::string_view key_name) {
    std::string text(gbk::kKeyStepPrefix);
    text += key_name;
    return text;
}

std::string make_mouse_step_text(std::string_view x_text, std::string_view y_text) {
    std::string text(gbk::kMouseStepPrefix);
    text += x_text;
    text += kCoordinateSeparator;
    text += y_text;
    return text;
}

}  // namespace keyvora
