#include "ui/step_list_view.h"

#include <algorithm>

#include "ui/ui_texts.h"
#include "win32/gbk_convert.h"

namespace keyvora::ui {
namespace {

void insert_column(HWND list, int index, std::string_view gbk_title, int width) {
    std::wstring title = win32::to_wide(gbk_title);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = title.data();
    column.iSubItem = index;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

}  // namespace

HWND create_step_list_control(HWND parent, int x, int y, int width, int height, int control_id) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                        LVS_NOSORTHEADER | LVS_OWNERDATA;
    HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", style, x, y, width, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control_id)),
                                  reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    if (list == nullptr) return nullptr;
    const LPARAM extended = LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
    insert_column(list, 0, text::kStepColumn, 168);
    insert_column(list, 1, text::kDelayColumn, 100);
    return list;
}

int StepListView::row_count() const {
    return static_cast<int>(rows_.size());
}

std::string StepListView::cell_text(int row, int column) const {
    if (!row_exists(row)) return {};
    return column == 0 ? rows_[row].step_text : column == 1 ? rows_[row].delay_text : std::string{};
}

int StepListView::current_row() const {
    return static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void StepListView::set_current_row(int row) {
    if (row < 0) {
        const int selected = current_row();
        if (selected >= 0) select_only(-1);
        return;
    }
    if (row_exists(row)) select_only(row);
}

// Selected and focused together, or (row -1) neither, on every row.
void StepListView::select_only(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    if (row < 0) {
        ::SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        return;
    }
    item.state = item.stateMask;
    ::SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int StepListView::insert_row(int position) {
    const int count = row_count();
    const int index = (position < 0 || position >= count) ? count : position;
    rows_.insert(rows_.begin() + index, ScriptStep{});
    if (!bulk_loading_) {
        const int selected = current_row();
        sync_rows(selected >= index ? selected + 1 : selected);
    }
    return index;
}

void StepListView::set_cell_text(int row, int column, std::string_view text) {
    if (!row_exists(row) || (column != 0 && column != 1)) return;
    (column == 0 ? rows_[row].step_text : rows_[row].delay_text) = std::string(text);
    if (!bulk_loading_) ::SendMessageW(list_, LVM_REDRAWITEMS, row, row);
}

void StepListView::delete_row(int row) {
    if (!row_exists(row)) return;
    rows_.erase(rows_.begin() + row);
    const int selected = current_row();
    sync_rows(selected == row ? -1 : selected > row ? selected - 1 : selected);
}

void StepListView::delete_all_rows() {
    // A bulk load keeps the room it reserved; otherwise the memory of a long script goes too.
    if (bulk_loading_) {
        rows_.clear();
    } else {
        rows_ = {};
    }
    sync_rows(-1);
}

void StepListView::sync_rows(int selected_row) {
    // A virtual list keeps its selection by index: it is cleared and put back where its row went.
    select_only(-1);
    ::SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
    if (selected_row >= 0) select_only(selected_row);
    ::InvalidateRect(list_, nullptr, FALSE);
}

void StepListView::fill_display_info(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
    const std::wstring text = win32::to_wide(cell_text(item.iItem, item.iSubItem));
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::copy_n(text.data(), copied, item.pszText);
    item.pszText[copied] = L'\0';
}

StepListView::BulkLoad::BulkLoad(StepListView& view, int expected_rows) : view_(view) {
    view_.rows_.reserve(static_cast<std::size_t>(std::max(expected_rows, 0)));
    view_.bulk_loading_ = true;
}

StepListView::BulkLoad::~BulkLoad() {
    view_.bulk_loading_ = false;
    view_.sync_rows(-1);
}

}  // namespace keyvora::ui
