// A StepList held in memory, with the selection semantics of the list view: one selected row at
// most, inserts and deletes shift the selection with its row, deleting the selected row clears it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/script_step.h"
#include "script/step_list.h"

namespace keyvora::testing {

class VectorStepList final : public StepList {
public:
    VectorStepList() = default;
    explicit VectorStepList(std::vector<ScriptStep> rows) : rows_(std::move(rows)) {}

    int row_count() const override { return static_cast<int>(rows_.size()); }

    std::string cell_text(int row, int column) const override {
        if (!exists(row)) return {};
        return column == 0 ? rows_[row].step_text : column == 1 ? rows_[row].delay_text : std::string{};
    }

    int current_row() const override { return selected_; }

    void set_current_row(int row) override {
        if (row < 0) {
            selected_ = -1;
        } else if (exists(row)) {
            selected_ = row;
        }
    }

    int insert_row(int position) override {
        if (position < 0 || position > row_count()) position = row_count();
        rows_.insert(rows_.begin() + position, ScriptStep{});
        if (selected_ >= position) ++selected_;
        return position;
    }

    void set_cell_text(int row, int column, std::string_view text) override {
        if (!exists(row)) return;
        (column == 0 ? rows_[row].step_text : rows_[row].delay_text) = std::string(text);
    }

    void delete_row(int row) override {
        if (!exists(row)) return;
        rows_.erase(rows_.begin() + row);
        if (selected_ == row) {
            selected_ = -1;
        } else if (selected_ > row) {
            --selected_;
        }
    }

    void delete_all_rows() override {
        rows_.clear();
        selected_ = -1;
    }

    const std::vector<ScriptStep>& rows() const { return rows_; }

private:
    bool exists(int row) const { return row >= 0 && row < row_count(); }

    std::vector<ScriptStep> rows_;
    int selected_ = -1;
};

}  // namespace keyvora::testing
