#include "ui/integer_field.h"

#include <commctrl.h>

namespace keyvora::ui {

namespace {

constexpr UINT_PTR kIntegerFilterId = 1;

LRESULT CALLBACK integer_filter(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
    switch (message) {
        case WM_CHAR:
            if (!integer_field_accepts(wparam)) return 0;
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, &integer_filter, kIntegerFilterId);
            break;
    }
    return ::DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

void make_integer_field(HWND edit) {
    ::SendMessageW(edit, EM_LIMITTEXT, kIntegerFieldMaxLength, 0);
    ::SetWindowSubclass(edit, &integer_filter, kIntegerFilterId, 0);
}

}  // namespace keyvora::ui
