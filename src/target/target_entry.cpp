#include "target/target_entry.h"

#include <string>
#include <unordered_map>

#include "script/gbk_text.h"
#include "script/leading_number.h"
#include "script/text_rules.h"

namespace keyvora {
namespace {

// The entry's own separator: blank, "丨", blank.
const std::string kEntrySeparator = std::string(" ") + std::string(gbk::kPieceSeparator) + " ";

// "丨" inside a field would add a piece and push the handle out of third place.
std::string without_piece_separator(std::string_view field) {
    return replace_text(field, gbk::kPieceSeparator, "|");
}

}  // namespace

std::string make_target_entry(std::string_view exe_name, std::string_view title, WindowId window) {
    return without_piece_separator(exe_name) + kEntrySeparator + without_piece_separator(title) + kEntrySeparator +
           std::to_string(window);
}

WindowId target_handle_of_entry(std::string_view entry) {
    const std::vector<std::string> pieces = split_text(entry, gbk::kPieceSeparator);
    if (pieces.size() < 3) return 0;
    return read_leading_int(pieces[2]);
}

std::string lower_ascii_gbk(std::string_view name) {
    std::string lowered(name);
    for (std::size_t i = 0; i < lowered.size(); ++i) {
        const auto byte = static_cast<unsigned char>(lowered[i]);
        if (is_lead_byte(byte)) {
            ++i;  // the trail byte may look like an ASCII letter; it belongs to the character
        } else if (byte >= 'A' && byte <= 'Z') {
            lowered[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return lowered;
}

WindowId find_window_of_exe(std::string_view exe_name, const std::vector<ProcessEntry>& processes,
                            const std::vector<TopLevelWindow>& windows) {
    const std::string wanted = lower_ascii_gbk(exe_name);
    for (const ProcessEntry& process : processes) {
        if (lower_ascii_gbk(process.exe_name) != wanted) continue;
        for (const TopLevelWindow& window : windows) {
            if (window.visible && window.owner_process_id == process.process_id) return window.window;
        }
    }
    return -1;
}

std::vector<std::string> build_target_entries(SystemSource& source) {
    const std::vector<ProcessEntry> processes = source.processes();
    const std::vector<TopLevelWindow> windows = source.top_level_windows();

    // The first visible window of each process, in window order.
    std::unordered_map<std::uint32_t, WindowId> first_window_of_process;
    for (const TopLevelWindow& window : windows) {
        if (window.visible) first_window_of_process.emplace(window.owner_process_id, window.window);
    }

    // The first process of each name, in snapshot order, that owns a visible window supplies the
    // window for every process of that name.
    std::vector<std::string> lowered_names;
    lowered_names.reserve(processes.size());
    std::unordered_map<std::string, WindowId> window_of_name;
    for (const ProcessEntry& process : processes) {
        lowered_names.push_back(lower_ascii_gbk(process.exe_name));
        const auto found = first_window_of_process.find(process.process_id);
        if (found != first_window_of_process.end()) window_of_name.emplace(lowered_names.back(), found->second);
    }

    std::vector<std::string> entries;
    entries.reserve(processes.size());
    for (std::size_t i = 0; i < processes.size(); ++i) {
        const auto found = window_of_name.find(lowered_names[i]);
        const WindowId window = found == window_of_name.end() ? -1 : found->second;
        entries.push_back(make_target_entry(processes[i].exe_name, source.window_title(window), window));
    }
    return entries;
}

}  // namespace keyvora
