// Edit boxes that take whole numbers: the delay fields and the mouse coordinate fields.
#pragma once

#include <windows.h>

namespace keyvora::ui {

inline constexpr int kIntegerFieldMaxLength = 5;

// Limits what the user types into edit to 5 characters and drops every typed printable character
// other than the digits and '-'; control characters (Backspace, Ctrl+V ...) pass. Text set by
// the program or pasted is not filtered. edit should be a single-line, left-aligned edit box.
void make_integer_field(HWND edit);

// The filter's rule for one WM_CHAR code.
constexpr bool integer_field_accepts(WPARAM character) {
    return character < 32 || (character >= L'0' && character <= L'9') || character == L'-';
}

}  // namespace keyvora::ui
