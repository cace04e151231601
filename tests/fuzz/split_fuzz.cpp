// The splitting rule: pieces join back to the text, and no piece holds the separator where one of
// its characters begins.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "script/text_rules.h"

namespace {

std::string join(const std::vector<std::string>& pieces, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            text += separator;
        text += pieces[i];
    }
    return text;
}

// The first input byte picks the separator: one of the program's own, or the next 1 to 3 bytes.
std::string_view pick_separator(std::string_view& input) {
    static constexpr std::string_view kSeparators[] = {",", "\xD8\xAD", "\r\n", "ini"};
    if (input.empty())
        return kSeparators[0];
    const auto choice = static_cast<unsigned char>(input[0]);
    input.remove_prefix(1);
    if (choice % 8 < 4)
        return kSeparators[choice % 8];
    const std::size_t length = std::min<std::size_t>(1 + choice % 3, input.size());
    const std::string_view own = input.substr(0, length);
    input.remove_prefix(length);
    return own.empty() ? kSeparators[0] : own;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view separator = pick_separator(input);
    const std::string_view text = input;

    const std::vector<std::string> pieces = keyvora::split_text(text, separator);
    const std::string joined = join(pieces, separator);
    // Up to the empty last piece, which is dropped after a trailing separator.
    const bool trailing_dropped = joined != text;
    FUZZ_CHECK(!trailing_dropped || joined + std::string(separator) == text);
    FUZZ_CHECK(!text.empty() || pieces.empty());
    for (const std::string& piece : pieces)
        FUZZ_CHECK(keyvora::find_text(piece, separator) == std::string::npos);

    // Search and replace agree with the split.
    const std::size_t first = keyvora::find_text(text, separator);
    if (first == std::string::npos) {
        FUZZ_CHECK(pieces.size() <= 1 && joined == text);
    } else {
        FUZZ_CHECK(!pieces.empty() && pieces[0].size() == first);
    }
    const std::string replaced = keyvora::replace_text(text, separator, "<>");
    FUZZ_CHECK(replaced == join(pieces, "<>") + (trailing_dropped ? "<>" : ""));
    return 0;
}
