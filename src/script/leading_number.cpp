#include "script/leading_number.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

namespace keyvora {

namespace {

constexpr unsigned char kFullWidthLead = 0xA3;
constexpr unsigned char kIdeographicSpaceByte = 0xA1;  // A1 A1 is the ideographic space

// Reads a text one character at a time as the number rule sees it: full-width ASCII forms and the
// ideographic space become their ASCII characters; every other double-byte character reads as a
// byte that can be neither white space nor part of a number.
class NumberCharReader {
  public:
    explicit NumberCharReader(std::string_view text) : text_(text) {}

    char peek() const {
        if (pos_ >= text_.size())
            return '\0';
        const auto byte = static_cast<unsigned char>(text_[pos_]);
        if (byte < 0x80)
            return static_cast<char>(byte);
        if (pos_ + 1 >= text_.size())
            return kOther;
        const auto trail = static_cast<unsigned char>(text_[pos_ + 1]);
        if (byte == kFullWidthLead && trail >= 0xA1 && trail <= 0xFE)
            return static_cast<char>(trail - 0x80);
        if (byte == kIdeographicSpaceByte && trail == kIdeographicSpaceByte)
            return ' ';
        return kOther;
    }

    void advance() {
        if (pos_ >= text_.size())
            return;
        const auto byte = static_cast<unsigned char>(text_[pos_]);
        const std::size_t width = byte < 0x80 ? 1 : 2;
        pos_ = pos_ + width < text_.size() ? pos_ + width : text_.size();
    }

  private:
    static constexpr char kOther = '\x7F';  // DEL: neither white space, sign, digit, point nor exponent
    std::string_view text_;
    std::size_t pos_ = 0;
};

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The prefix in a normalised form: its significant digits (no leading zeros) and the decimal
// exponent of the first of them, saturated far beyond the range of a double.
struct DecimalPrefix {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
};

constexpr long long kExponentLimit = 1'000'000'000;

long long saturated(long long value) {
    if (value > kExponentLimit)
        return kExponentLimit;
    if (value < -kExponentLimit)
        return -kExponentLimit;
    return value;
}

// Consumes the longest prefix of the number grammar; returns false when there is none.
bool read_prefix(NumberCharReader& reader, DecimalPrefix& prefix) {
    while (is_space(reader.peek()))
        reader.advance();
    if (reader.peek() == '+' || reader.peek() == '-') {
        prefix.negative = reader.peek() == '-';
        reader.advance();
    }
    long long integer_digits = 0;  // digits before the point, leading zeros excluded
    long long leading_fraction_zeros = 0;
    bool any_digit = false;
    for (; is_digit(reader.peek()); reader.advance()) {
        any_digit = true;
        if (reader.peek() == '0' && prefix.digits.empty())
            continue;
        prefix.digits += reader.peek();
        integer_digits = saturated(integer_digits + 1);
    }
    if (reader.peek() == '.') {
        // A point followed by no digit belongs to the prefix only after integer digits ("5." reads 5).
        NumberCharReader after_point = reader;
        after_point.advance();
        if (any_digit || is_digit(after_point.peek())) {
            reader = after_point;
            for (; is_digit(reader.peek()); reader.advance()) {
                any_digit = true;
                if (reader.peek() == '0' && prefix.digits.empty()) {
                    leading_fraction_zeros = saturated(leading_fraction_zeros + 1);
                    continue;
                }
                prefix.digits += reader.peek();
            }
        }
    }
    if (!any_digit)
        return false;

    long long written_exponent = 0;
    const char marker = reader.peek();
    if (marker == 'e' || marker == 'E' || marker == 'd' || marker == 'D') {
        // The marker belongs to the prefix only when digits follow it, with an optional sign between.
        NumberCharReader exponent_reader = reader;
        exponent_reader.advance();
        bool exponent_negative = false;
        if (exponent_reader.peek() == '+' || exponent_reader.peek() == '-') {
            exponent_negative = exponent_reader.peek() == '-';
            exponent_reader.advance();
        }
        if (is_digit(exponent_reader.peek())) {
            for (; is_digit(exponent_reader.peek()); exponent_reader.advance()) {
                written_exponent = saturated(written_exponent * 10 + (exponent_reader.peek() - '0'));
            }
            if (exponent_negative)
                written_exponent = -written_exponent;
            reader = exponent_reader;
        }
    }
    // Value = 0.d1d2d3... * 10^(integer_digits - leading_fraction_zeros + written_exponent).
    prefix.exponent = saturated(integer_digits - leading_fraction_zeros + written_exponent);
    while (!prefix.digits.empty() && prefix.digits.back() == '0')
        prefix.digits.pop_back();
    return true;
}

double to_double(const DecimalPrefix& prefix) {
    if (prefix.digits.empty())
        return prefix.negative ? -0.0 : 0.0;
    const double sign = prefix.negative ? -1.0 : 1.0;
    // 0.d1d2... * 10^e lies in [10^(e-1), 10^e): far outside the range of a double decide by the
    // exponent alone, so the text handed to from_chars always has a small exponent.
    if (prefix.exponent > 400)
        return sign * std::numeric_limits<double>::infinity();
    if (prefix.exponent < -400)
        return sign * 0.0;
    std::string ascii = "0." + prefix.digits + "e" + std::to_string(prefix.exponent);
    double value = 0.0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error == std::errc::result_out_of_range) {
        value = prefix.exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return sign * value;
}

}  // namespace

double read_leading_number(std::string_view text) {
    NumberCharReader reader(text);
    DecimalPrefix prefix;
    if (!read_prefix(reader, prefix))
        return 0.0;
    return to_double(prefix);
}

std::int32_t number_to_int32(double value) {
    // 2^63 is exact as a double; the signed 64-bit range is [-2^63, 2^63).
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::isnan(value) || value >= kTwoTo63 || value < -kTwoTo63)
        return 0;
    const auto truncated = static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(truncated)));
}

}  // namespace keyvora
