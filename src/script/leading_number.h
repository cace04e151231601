// The one rule by which every number is read from a text: delays, mouse coordinates, window
// handles of target entries and the key step dialog's delay check.
#pragma once

#include <cstdint>
#include <string_view>

namespace keyvora {

// Full-width ASCII forms and the ideographic space read as their ASCII characters; leading white
// space is skipped; the longest prefix of sign, digits, optional point and fraction and optional
// exponent (e, E, d or D) is the number. No such prefix reads as 0.
double read_leading_number(std::string_view text);

// Truncation toward zero to 64 bits, then the low 32 bits as a signed value; 0 outside the
// signed 64-bit range (and for NaN).
std::int32_t number_to_int32(double value);

inline std::int32_t read_leading_int(std::string_view text) { return number_to_int32(read_leading_number(text)); }

}  // namespace keyvora
