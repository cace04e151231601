#include "ui/step_list_view.h"

#include <commctrl.h>

#include <vector>

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
                        LVS_NOSORTHEADER;
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
    return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::string StepListView::cell_text(int row, int column) const {
    if (!row_exists(row)) return {};
    // LVM_GETITEMTEXTW reports how much it copied, not how long the text is: grow the buffer
    // until the text fits with room to spare.
    std::vector<wchar_t> buffer(256);
    for (;;) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const auto copied = static_cast<std::size_t>(
            ::SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (copied + 1 < buffer.size()) return win32::to_gbk(std::wstring_view(buffer.data(), copied));
        buffer.resize(buffer.size() * 4);
    }
}

int StepListView::current_row() const {
    return static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void StepListView::set_current_row(int row) {
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    LVITEMW item{};
    item.stateMask = both;
    if (row < 0) {
        const int selected = current_row();
        if (selected < 0) return;
        item.state = 0;
        ::SendMessageW(list_, LVM_SETITEMSTATE, selected, reinterpret_cast<LPARAM>(&item));
        return;
    }
    if (!row_exists(row)) return;
    item.state = both;
    ::SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int StepListView::insert_row(int position) {
    const int count = row_count();
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = (position < 0 || position >= count) ? count : position;
    item.pszText = const_cast<wchar_t*>(L"");
    return static_cast<int>(::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void StepListView::set_cell_text(int row, int column, std::string_view text) {
    if (!row_exists(row)) return;
    std::wstring wide = win32::to_wide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    ::SendMessageW(list_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void StepListView::delete_row(int row) {
    if (!row_exists(row)) return;
    ::SendMessageW(list_, LVM_DELETEITEM, row, 0);
}

void StepListView::delete_all_rows() {
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
}

StepListView::BulkLoad::BulkLoad(const StepListView& view, int expected_rows) : list_(view.handle()) {
    ::SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list_, LVM_SETITEMCOUNT, expected_rows, LVSICF_NOINVALIDATEALL);
}

StepListView::BulkLoad::~BulkLoad() {
    ::SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list_, nullptr, TRUE);
}

}  // namespace keyvora::ui
