// The leading-number rule against a slow reading of the same grammar: every prefix is tried from
// the longest down, each checked whole by a plain recogniser, and the winner converted by the C
// library (the harness never changes the "C" locale).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "script/leading_number.h"

namespace {

// The text as the rule sees it: full-width ASCII forms (A3 A1..A3 FE) and the ideographic space
// (A1 A1) become ASCII; any other double-byte character becomes '#', which no number contains.
std::string ascii_view(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += static_cast<char>(byte);
            continue;
        }
        const int trail = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : -1;
        if (byte == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            out += static_cast<char>(trail - 0x80);
        } else if (byte == 0xA1 && trail == 0xA1) {
            out += ' ';
        } else {
            out += '#';
        }
        ++i;
    }
    return out;
}

bool digit(char c) {
    return c >= '0' && c <= '9';
}

// sign? (digits ('.' digits?)? | '.' digits) ([eEdD] sign? digits)?, the whole of s.
bool is_number(std::string_view s) {
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && digit(s[i]))
            ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    const std::size_t before_point = digits();
    std::size_t after_point = 0;
    if (i < s.size() && s[i] == '.') {
        ++i;
        after_point = digits();
    }
    if (before_point == 0 && after_point == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == s.size();
}

double reference_reading(std::string_view text) {
    std::string view = ascii_view(text);
    std::size_t start = 0;
    while (start < view.size() && std::strchr(" \t\n\v\f\r", view[start]) != nullptr && view[start] != '\0')
        ++start;
    std::size_t end = start;  // no number holds a character outside this set
    while (end < view.size() && view[end] != '\0' && std::strchr("0123456789+-.eEdD", view[end]) != nullptr)
        ++end;
    for (std::size_t length = end - start; length > 0; --length) {
        std::string prefix = view.substr(start, length);
        if (!is_number(prefix))
            continue;
        for (char& c : prefix) {
            if (c == 'd' || c == 'D')
                c = 'e';
        }
        return std::strtod(prefix.c_str(), nullptr);
    }
    return 0.0;
}

// Truncation and the low 32 bits by a different route: the remainder modulo 2^32.
std::int32_t reference_int32(double value) {
    if (std::isnan(value) || value >= 0x1p63 || value < -0x1p63)
        return 0;
    double low = std::fmod(std::trunc(value), 0x1p32);  // exact, in (-2^32, 2^32)
    if (low < 0)
        low += 0x1p32;
    if (low >= 0x1p31)
        low -= 0x1p32;
    return static_cast<std::int32_t>(low);
}

bool same_double(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = keyvora::read_leading_number(text);
    const double expected = reference_reading(text);
    if (!same_double(expected, value)) {
        std::fprintf(stderr, "read %.17g, reference %.17g\n", value, expected);
        FUZZ_CHECK(same_double(expected, value));
    }
    FUZZ_CHECK(keyvora::read_leading_int(text) == reference_int32(expected));

    // Any bit pattern, NaNs and infinities included, converts without undefined behaviour.
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        FUZZ_CHECK(keyvora::number_to_int32(raw) == reference_int32(raw));
    }
    return 0;
}
