// The script file: one line per row, step text + "丨" + delay text + CR LF, bytes as they stand.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/script_step.h"
#include "script/step_list.h"

namespace keyvora {

std::string encode_script(const std::vector<ScriptStep>& rows);

// Cut at the first zero byte, lines at CR LF, pieces at "丨". A line with fewer than two pieces
// still gives a row, its missing pieces empty; pieces after the second are dropped.
std::vector<ScriptStep> decode_script(std::string_view file_bytes);

std::vector<ScriptStep> rows_of(const StepList& list);
// Empties the list and appends the rows in order; no row is selected afterwards.
void replace_rows(StepList& list, const std::vector<ScriptStep>& rows);

// The name a script is saved under: the path unchanged when it holds "ini" (case-sensitive, on
// character boundaries, anywhere in the path), else the path + ".ini".
std::string save_file_name(std::string_view chosen_path);

}  // namespace keyvora
