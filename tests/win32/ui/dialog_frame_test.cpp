#include "ui/dialog_frame.h"

#include <gtest/gtest.h>

#include <array>

#include "ui_test_support.h"

namespace keyvora::ui {
namespace {

struct FrameCase {
    const char* name;
    DWORD style;
    DWORD ex_style;
};

// Frames of different thickness and caption height: the client area must come out the same.
constexpr std::array<FrameCase, 4> kFrames{{
    {"dialog frame", WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME},
    {"sizing frame", WS_OVERLAPPEDWINDOW, 0},
    {"tool window", WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE},
    {"bare popup", WS_POPUP | WS_BORDER, 0},
}};

struct GroupCase {
    RECT group;  // left, top, width, height
    int extra_height;
    SIZE client;
};

constexpr std::array<GroupCase, 3> kGroups{{
    {{13, 6, 150, 91}, 32, {176, 142}},  // key step dialog
    {{13, 6, 150, 99}, 0, {176, 118}},   // mouse step dialog
    {{20, 30, 200, 50}, 10, {240, 110}},  // a wider margin and a deeper top
}};

TEST(FitWindowToGroup, ClientAreaHoldsTheGroupWithItsMarginWhateverTheFrame) {
    for (const FrameCase& frame : kFrames) {
        for (const GroupCase& layout : kGroups) {
            win32::unique_window window(::CreateWindowExW(frame.ex_style, L"STATIC", L"", frame.style | WS_VISIBLE,
                                                          70, 50, 182, 174, nullptr, nullptr, nullptr, nullptr));
            ASSERT_NE(nullptr, window);
            HWND group = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, layout.group.left,
                                           layout.group.top, layout.group.right, layout.group.bottom, window.get(),
                                           nullptr, nullptr, nullptr);
            RECT before{};
            ::GetWindowRect(window.get(), &before);

            fit_window_to_group(window.get(), group, layout.extra_height);

            const SIZE client = testing::client_size(window.get());
            EXPECT_EQ(layout.client.cx, client.cx) << frame.name;
            EXPECT_EQ(layout.client.cy, client.cy) << frame.name;
            RECT after{};
            ::GetWindowRect(window.get(), &after);
            EXPECT_EQ(before.left, after.left) << frame.name;
            EXPECT_EQ(before.top, after.top) << frame.name;
        }
    }
}

TEST(FitWindowToGroup, ExtraHeightDefaultsToNone) {
    win32::unique_window window(::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr,
                                                  nullptr, nullptr, nullptr));
    HWND group = ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | BS_GROUPBOX, 13, 6, 150, 99, window.get(), nullptr,
                                   nullptr, nullptr);
    fit_window_to_group(window.get(), group);
    EXPECT_EQ(118, testing::client_size(window.get()).cy);
}

}  // namespace
}  // namespace keyvora::ui
