// The operations by which every part of the program reads and writes the script. The script has
// no store of its own: it is the rows of the main window's list view, whose selection is both the
// row the user edits and the runner's position.
#pragma once

#include <string>
#include <string_view>

namespace keyvora {

class StepList {
public:
    virtual ~StepList() = default;

    virtual int row_count() const = 0;
    // The text of a cell; the empty text for a row that does not exist. column is 0 or 1.
    virtual std::string cell_text(int row, int column) const = 0;
    // The selected row, -1 when none.
    virtual int current_row() const = 0;
    // row >= 0: select and focus it (no scrolling); -1: clear the selection.
    virtual void set_current_row(int row) = 0;
    // Inserts an empty, unselected row at position; -1 or a position past the end appends.
    // Returns the index of the new row.
    virtual int insert_row(int position) = 0;
    virtual void set_cell_text(int row, int column, std::string_view text) = 0;
    // A row that does not exist, -1 included, deletes nothing.
    virtual void delete_row(int row) = 0;
    virtual void delete_all_rows() = 0;
};

}  // namespace keyvora
