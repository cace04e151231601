// How long loading a script into the main window's list view takes, with and without the bulk
// load guard. Prints figures; asserts nothing about speed.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "script/gbk_text.h"
#include "script/script_file.h"
#include "ui/step_list_view.h"
#include "win32/handles.h"

namespace {

using keyvora::ScriptStep;
using keyvora::ui::StepListView;

std::vector<ScriptStep> make_rows(int count) {
    std::vector<ScriptStep> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        rows.push_back({std::string(keyvora::gbk::kMouseStepPrefix) + std::to_string(i % 1280) + "," +
                            std::to_string(i % 1024),
                        std::to_string(100 + i % 900)});
    }
    return rows;
}

// Emptying a loaded list, as opening a second script does (inside the guard).
double clear_seconds(StepListView& view) {
    const auto start = std::chrono::steady_clock::now();
    {
        const StepListView::BulkLoad guard(view, 0);
        view.delete_all_rows();
    }
    ::UpdateWindow(view.handle());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double load_seconds(StepListView& view, const std::vector<ScriptStep>& rows, bool bulk) {
    clear_seconds(view);
    const auto start = std::chrono::steady_clock::now();
    if (bulk) {
        const StepListView::BulkLoad guard(view, static_cast<int>(rows.size()));
        keyvora::replace_rows(view, rows);
    } else {
        keyvora::replace_rows(view, rows);
    }
    ::UpdateWindow(view.handle());
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    // Row counts to load; the default covers a long everyday script and a pathological file.
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {1000, 10000, 100000, 1000000};

    keyvora::win32::unique_window parent(::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                                            40, 340, 260, nullptr, nullptr,
                                                            ::GetModuleHandleW(nullptr), nullptr));
    StepListView view(keyvora::ui::create_step_list_control(parent.get(), 8, 8, 292, 174, 1002));
    for (const int count : counts) {
        const std::vector<ScriptStep> rows = make_rows(count);
        const double bulk = load_seconds(view, rows, true);
        std::printf("step list load %8d rows, bulk guard: %8.3f s (%6.2f us/row)\n", count, bulk,
                    bulk * 1e6 / count);
        // Without the guard every row repaints the list, which is too slow to time on long scripts.
        if (count <= 1000) {
            const double plain = load_seconds(view, rows, false);
            std::printf("step list load %8d rows, row by row: %8.3f s (%6.2f us/row)\n", count, plain,
                        plain * 1e6 / count);
        }
        if (view.row_count() != count || view.cell_text(count - 1, 0) != rows.back().step_text) {
            std::printf("step list load %d rows: rows not loaded as given\n", count);
            return 1;
        }
        const double clear = clear_seconds(view);
        std::printf("step list clear %7d rows, bulk guard: %8.3f s\n", count, clear);
        std::fflush(stdout);
    }
    return 0;
}
