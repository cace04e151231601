// Turning one step into the window messages the target receives.
#pragma once

#include <cstdint>

#include "runner/run_ports.h"

namespace keyvora {

inline constexpr std::uint32_t kWmKeyDown = 0x0100;
inline constexpr std::uint32_t kWmKeyUp = 0x0101;
inline constexpr std::uint32_t kWmMouseMove = 0x0200;
inline constexpr std::uint32_t kWmLButtonDown = 0x0201;
inline constexpr std::uint32_t kWmLButtonUp = 0x0202;

// x in the low word, y in the high word, each as 16-bit two's complement.
std::uint32_t pack_mouse_lparam(std::int32_t x, std::int32_t y);

// WM_KEYDOWN then WM_KEYUP, wParam the code, lParam 0.
void post_key(MessagePoster& poster, WindowId window, std::int32_t key_code);

// WM_MOUSEMOVE (wParam 2), WM_LBUTTONDOWN (1), WM_LBUTTONUP (0), back to back; a window of 0
// means the desktop's icon list.
void post_left_click(MessagePoster& poster, WindowId window, std::int32_t x, std::int32_t y);

}  // namespace keyvora
