// The script's rows as the main window's report-view list view holds them. Cell texts are GBK
// inside the program and UTF-16 in the control; the conversion happens here.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

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

    // For the length of a bulk load: no repainting, and room for expected_rows reserved up front,
    // so loading a long script costs one repaint instead of one per row.
    class BulkLoad {
    public:
        BulkLoad(const StepListView& view, int expected_rows);
        ~BulkLoad();
        BulkLoad(const BulkLoad&) = delete;
        BulkLoad& operator=(const BulkLoad&) = delete;

    private:
        HWND list_;
    };

private:
    bool row_exists(int row) const { return row >= 0 && row < row_count(); }

    HWND list_;
};

}  // namespace keyvora::ui
