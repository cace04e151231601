#include "script/script_file.h"

#include <algorithm>

#include "script/gbk_text.h"
#include "script/text_rules.h"

namespace keyvora {

namespace {
constexpr std::string_view kIniLetters = "ini";
constexpr std::string_view kIniExtension = ".ini";
}  // namespace

std::string encode_script(const std::vector<ScriptStep>& rows) {
    std::string text;
    for (const ScriptStep& row : rows) {
        text += row.step_text;
        text += gbk::kPieceSeparator;
        text += row.delay_text;
        text += gbk::kLineEnd;
    }
    return text;
}

std::vector<ScriptStep> decode_script(std::string_view file_bytes) {
    const std::string_view text = file_bytes.substr(0, file_bytes.find('\0'));
    std::vector<ScriptStep> rows;
    for (const std::string& line : split_text(text, gbk::kLineEnd)) {
        std::vector<std::string> pieces = split_text(line, gbk::kPieceSeparator);
        pieces.resize(std::max<std::size_t>(pieces.size(), 2));
        rows.push_back(ScriptStep{std::move(pieces[0]), std::move(pieces[1])});
    }
    return rows;
}

std::vector<ScriptStep> rows_of(const StepList& list) {
    std::vector<ScriptStep> rows;
    const int count = list.row_count();
    rows.reserve(count > 0 ? static_cast<std::size_t>(count) : 0);
    for (int row = 0; row < count; ++row)
        rows.push_back(ScriptStep{list.cell_text(row, 0), list.cell_text(row, 1)});
    return rows;
}

void replace_rows(StepList& list, const std::vector<ScriptStep>& rows) {
    list.delete_all_rows();
    for (const ScriptStep& row : rows) {
        const int index = list.insert_row(-1);
        list.set_cell_text(index, 0, row.step_text);
        list.set_cell_text(index, 1, row.delay_text);
    }
}

std::string save_file_name(std::string_view chosen_path) {
    std::string name(chosen_path);
    if (find_text(chosen_path, kIniLetters) == std::string_view::npos)
        name += kIniExtension;
    return name;
}

}  // namespace keyvora
