#include "script/text_rules.h"

namespace keyvora {

namespace {

// Index of the character that follows the one starting at pos. A lead byte takes the byte after it
// along; a lead byte that is the last byte of the text stands alone.
std::size_t next_boundary(std::string_view text, std::size_t pos) {
    const std::size_t width = is_lead_byte(static_cast<unsigned char>(text[pos])) ? 2 : 1;
    return pos + width < text.size() ? pos + width : text.size();
}

bool matches_at(std::string_view text, std::size_t pos, std::string_view needle) {
    return text.substr(pos, needle.size()) == needle;
}

}  // namespace

std::string first_bytes(std::string_view text, long long n) {
    if (n <= 0)
        return {};
    if (static_cast<unsigned long long>(n) >= text.size())
        return std::string(text);
    return std::string(text.substr(0, static_cast<std::size_t>(n)));
}

std::string last_bytes(std::string_view text, long long n) {
    if (n <= 0)
        return {};
    if (static_cast<unsigned long long>(n) >= text.size())
        return std::string(text);
    return std::string(text.substr(text.size() - static_cast<std::size_t>(n)));
}

std::vector<std::string> split_text(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (separator.empty()) {
        if (!text.empty())
            pieces.emplace_back(text);
        return pieces;
    }
    std::size_t piece_start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (matches_at(text, pos, separator)) {
            pieces.emplace_back(text.substr(piece_start, pos - piece_start));
            pos += separator.size();
            piece_start = pos;
        } else {
            pos = next_boundary(text, pos);
        }
    }
    if (piece_start < text.size())
        pieces.emplace_back(text.substr(piece_start));
    return pieces;
}

std::size_t find_text(std::string_view text, std::string_view needle) {
    if (needle.empty())
        return 0;
    for (std::size_t pos = 0; pos < text.size(); pos = next_boundary(text, pos)) {
        if (matches_at(text, pos, needle))
            return pos;
    }
    return std::string_view::npos;
}

std::string replace_text(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (matches_at(text, pos, from)) {
            result += to;
            pos += from.size();
        } else {
            const std::size_t next = next_boundary(text, pos);
            result += text.substr(pos, next - pos);
            pos = next;
        }
    }
    return result;
}

}  // namespace keyvora
