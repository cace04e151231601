// Small helpers for the UI tests: a plain parent window, pumping until a condition holds, GBK
// literals of the texts the tests compare.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "win32/handles.h"
#include "win32/message_pump.h"

namespace keyvora::ui::testing {

// A visible top-level window to hold the controls under test.
inline win32::unique_window make_parent_window(DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE) {
    return win32::unique_window(::CreateWindowExW(0, L"STATIC", L"", style, 40, 40, 320, 240, nullptr, nullptr,
                                                  ::GetModuleHandleW(nullptr), nullptr));
}

// Dispatches messages until done() holds or the time is up; returns done() at the end.
inline bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(3)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        win32::pump_messages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return done();
}

inline void pump_for(std::chrono::milliseconds span) {
    pump_until([] { return false; }, span);
}

inline SIZE client_size(HWND window) {
    RECT rect{};
    ::GetClientRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// Where a control sits in its parent's client area.
struct Placement {
    int x, y, width, height;
    friend bool operator==(const Placement&, const Placement&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Placement& p) {
        return out << p.x << "," << p.y << " " << p.width << "x" << p.height;
    }
};

inline RECT rect_in_parent(HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline Placement placement(HWND control) {
    const RECT rect = rect_in_parent(control);
    return Placement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Wine maps injected keys by their scan code, so both are given.
inline INPUT key_input(WORD key, bool release) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

inline void send_key(WORD key, bool release) {
    INPUT input = key_input(key, release);
    ::SendInput(1, &input, sizeof(INPUT));
}

// Presses and releases keys through the system input queue, as a user would.
inline void send_keys(std::initializer_list<WORD> held_then_released) {
    std::vector<INPUT> inputs;
    for (WORD key : held_then_released) inputs.push_back(key_input(key, false));
    for (auto it = held_then_released.end(); it != held_then_released.begin();) inputs.push_back(key_input(*--it, true));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace keyvora::ui::testing
