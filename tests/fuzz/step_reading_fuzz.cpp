// Reading a step text: kind, payload and mouse point on any bytes, and the texts the dialogs make
// read back as the values they were made from.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "script/key_names.h"
#include "script/leading_number.h"
#include "script/script_step.h"
#include "script/text_rules.h"

namespace {

void check_any_step_text(std::string_view text) {
    FUZZ_CHECK(keyvora::is_key_step(text) == (text.size() >= 4 && text.substr(0, 4) == "\xB0\xB4\xBC\xFC"));
    const std::string payload = keyvora::step_payload(text);
    FUZZ_CHECK(payload == (text.size() > 6 ? text.substr(6) : std::string_view{}));

    const auto point = keyvora::read_mouse_point(payload);
    const std::vector<std::string> pieces = keyvora::split_text(payload, ",");
    FUZZ_CHECK(point.has_value() == (pieces.size() >= 2));
    if (point) {
        FUZZ_CHECK(point->x == keyvora::read_leading_int(pieces[0]));
        FUZZ_CHECK(point->y == keyvora::read_leading_int(pieces[1]));
    }
    (void)keyvora::key_code_from_name(payload);
}

void check_made_steps(FuzzedDataProvider& data) {
    const auto x = data.ConsumeIntegral<std::int32_t>();
    const auto y = data.ConsumeIntegral<std::int32_t>();
    const std::string mouse = keyvora::make_mouse_step_text(std::to_string(x), std::to_string(y));
    FUZZ_CHECK(!keyvora::is_key_step(mouse));
    const auto point = keyvora::read_mouse_point(keyvora::step_payload(mouse));
    FUZZ_CHECK(point && point->x == x && point->y == y);

    const std::int32_t code = data.ConsumeIntegralInRange<std::int32_t>(-8, 0x1FF);
    const std::string name = keyvora::key_name_from_code(code);
    if (name.empty())
        return;
    const std::string key = keyvora::make_key_step_text(name);
    FUZZ_CHECK(keyvora::is_key_step(key) && keyvora::step_payload(key) == name);
    const std::int32_t back = keyvora::key_code_from_name(name);
    FUZZ_CHECK(back == code || (code >= 0x60 && code <= 0x69 && back == code - 0x30));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check_any_step_text(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider provider(data, size);
    check_made_steps(provider);
    return 0;
}
