#include "runner/input_poster.h"

namespace keyvora {
namespace {

constexpr std::uint32_t kMkLButton = 0x0001;
// WM_MOUSEMOVE goes out with MK_RBUTTON set, not 0; kept so, as the click sequence has always been sent.
constexpr std::uint32_t kMkRButton = 0x0002;

}  // namespace

std::uint32_t pack_mouse_lparam(std::int32_t x, std::int32_t y) {
    const auto low = static_cast<std::uint16_t>(static_cast<std::uint32_t>(x));
    const auto high = static_cast<std::uint16_t>(static_cast<std::uint32_t>(y));
    return static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16);
}

void post_key(MessagePoster& poster, WindowId window, std::int32_t key_code) {
    const auto code = static_cast<std::uint32_t>(key_code);
    poster.post(window, kWmKeyDown, code, 0);
    poster.post(window, kWmKeyUp, code, 0);
}

void post_left_click(MessagePoster& poster, WindowId window, std::int32_t x, std::int32_t y) {
    // Whatever the lookup gives is used, 0 included: the click then simply reaches no window.
    const WindowId receiver = window == 0 ? poster.desktop_icon_list() : window;
    const std::uint32_t position = pack_mouse_lparam(x, y);
    poster.post(receiver, kWmMouseMove, kMkRButton, position);
    poster.post(receiver, kWmLButtonDown, kMkLButton, position);
    poster.post(receiver, kWmLButtonUp, 0, position);
}

}  // namespace keyvora
