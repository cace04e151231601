// Byte rules for GBK text: lengths and positions count bytes, and a separator is only recognised
// where a character begins (a lead byte of 0x80 or above always takes the byte after it along).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace keyvora {

inline constexpr bool is_lead_byte(unsigned char byte) { return byte >= 0x80; }

// The first / last n bytes; all of the text when it is shorter, the empty text for n <= 0.
std::string first_bytes(std::string_view text, long long n);
std::string last_bytes(std::string_view text, long long n);

// Pieces between separators, scanning on character boundaries. Empty pieces between two
// separators count; an empty last piece after a trailing separator does not; "" has no pieces.
// An empty separator never matches: the whole (non-empty) text is one piece.
std::vector<std::string> split_text(std::string_view text, std::string_view separator);

// Byte position of the first occurrence of needle that begins on a character boundary, or npos.
// An empty needle is found at 0.
std::size_t find_text(std::string_view text, std::string_view needle);

// Every occurrence of from (on character boundaries) replaced by to, scanning left to right past
// each replacement. An empty from changes nothing.
std::string replace_text(std::string_view text, std::string_view from, std::string_view to);

}  // namespace keyvora
