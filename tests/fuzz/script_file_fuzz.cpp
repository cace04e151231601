// Script file decoding on any bytes, and the rows that survive a save and a re-open.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "script/gbk_text.h"
#include "script/script_file.h"

using keyvora::ScriptStep;

namespace {

// Whether a field text comes back unchanged from a file line. Scanning it alone by characters, it
// must hold no NUL, no "丨" and no CR LF where a character begins, and must not end in a lone lead
// byte: such a byte takes the first byte of the "丨" or of the CR LF written after it along, so the
// separator is missed and the field runs into the next one. Everything else round-trips, empty
// texts included: a row of two empty texts is the line "丨", which reads back as one empty piece,
// and a missing piece reads as the empty text.
bool survives_a_file_line(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte == 0)
            return false;
        if (byte >= 0x80) {
            if (pos + 1 == text.size())
                return false;  // lone lead byte at the end
            if (text[pos + 1] == '\0')
                return false;
            if (text.substr(pos, 2) == keyvora::gbk::kPieceSeparator)
                return false;
            pos += 2;
        } else {
            if (text.substr(pos, 2) == keyvora::gbk::kLineEnd)
                return false;
            pos += 1;
        }
    }
    return true;
}

bool every_text_survives(const std::vector<ScriptStep>& rows) {
    for (const ScriptStep& row : rows) {
        if (!survives_a_file_line(row.step_text) || !survives_a_file_line(row.delay_text))
            return false;
    }
    return true;
}

// One row per line: every CR LF that begins on a character boundary ends one, and text after the
// last of them is one more line. Counted by its own scan, up to the first NUL.
std::size_t line_count(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::size_t lines = 0;
    std::size_t line_start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.substr(pos, 2) == "\r\n") {
            ++lines;
            pos += 2;
            line_start = pos;
        } else {
            pos += static_cast<unsigned char>(text[pos]) >= 0x80 ? 2 : 1;
        }
    }
    return lines + (line_start < text.size() ? 1 : 0);
}

void check_arbitrary_file(std::string_view bytes) {
    const std::vector<ScriptStep> rows = keyvora::decode_script(bytes);
    FUZZ_CHECK(rows.size() == line_count(bytes));
    std::size_t text_bytes = 0;
    for (const ScriptStep& row : rows)
        text_bytes += row.step_text.size() + row.delay_text.size();
    FUZZ_CHECK(text_bytes <= bytes.size());
    // Rows read from a file come back from a save and a re-open when their texts can.
    if (every_text_survives(rows))
        FUZZ_CHECK(keyvora::decode_script(keyvora::encode_script(rows)) == rows);
}

void check_generated_rows(FuzzedDataProvider& data) {
    std::vector<ScriptStep> rows;
    while (data.remaining_bytes() > 0 && rows.size() < 64) {
        ScriptStep row{data.ConsumeRandomLengthString(64), data.ConsumeRandomLengthString(16)};
        if (survives_a_file_line(row.step_text) && survives_a_file_line(row.delay_text))
            rows.push_back(row);
    }
    const std::string bytes = keyvora::encode_script(rows);
    FUZZ_CHECK(keyvora::decode_script(bytes) == rows);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    check_arbitrary_file(std::string_view(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider provider(data, size);
    check_generated_rows(provider);
    return 0;
}
