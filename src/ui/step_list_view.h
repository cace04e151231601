// The script's rows as the main window's list view shows them. The list view is a virtual
// (owner-data) one: the rows' GBK texts are kept here, once, and the control asks for a cell's
// text only when it paints it or someone reads it. The control keeps the selection, which is
// the user's choice and the runner's position alike.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "script/script_step.h"
#include "script/step_list.h"

namespace keyvora::ui {

// The list view of the main window: report view with the step and delay columns, one selected
// row at a time, selection kept visible, whole-row selection and grid lines, no in-place editing.
HWND create_step_list_control(HWND parent, int x, int y, int width, int height, int control_id);

class StepListView final : public StepList {
public:
    explicit StepListView(HWND list = nullptr) : list_(list) {}
    void attach(HWND list) { list_ = list; }
    HWND handle() const { return list_; }

    int row_count() const override;
    std::string cell_text(int row, int column) const override;
    int current_row() const override;
    void set_current_row(int row) override;
    int insert_row(int position) override;
    void set_cell_text(int row, int column, std::string_view text) override;
    void delete_row(int row) override;
    void delete_all_rows() override;

    // Answers the control's LVN_GETDISPINFOW, which its parent passes on: the cell's text,
    // copied into the buffer the control supplies.
    void fill_display_info(NMLVDISPINFOW& info) const;

    // For the length of a bulk load into an emptied list: rows are only collected, and the
    // control learns the new row count once, at the end, with a single repaint.
    class BulkLoad {
    public:
        BulkLoad(StepListView& view, int expected_rows);
        ~BulkLoad();
        BulkLoad(const BulkLoad&) = delete;
        BulkLoad& operator=(const BulkLoad&) = delete;

    private:
        StepListView& view_;
    };

private:
    bool row_exists(int row) const { return row >= 0 && row < row_count(); }
    // Tells the control the row count; the selection is put back on the row it belongs to.
    void sync_rows(int selected_row);
    void select_only(int row);

    HWND list_;
    std::vector<ScriptStep> rows_;
    bool bulk_loading_ = false;
};

}  // namespace keyvora::ui
