#include "ui/hotkey_box.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>

#include "ui_test_support.h"

namespace keyvora::ui {
namespace {

using testing::make_parent_window;
using testing::pump_until;

// Read before any test has made a control.
const int identifier_at_start = HotkeyBox::last_control_id();

WNDPROC class_procedure(HWND window) { return reinterpret_cast<WNDPROC>(::GetClassLongPtrW(window, GCLP_WNDPROC)); }
WNDPROC window_procedure(HWND window) { return reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC)); }

TEST(HotkeyBox, IdentifiersStartAt501AndEveryCreateTakesTheNextOne) {
    EXPECT_EQ(500, identifier_at_start);
    HotkeyBox box;

    auto first_parent = make_parent_window();
    const int before = HotkeyBox::last_control_id();
    ASSERT_TRUE(box.create(first_parent.get(), 10, 10));
    EXPECT_EQ(before + 1, HotkeyBox::last_control_id());
    EXPECT_EQ(before + 1, ::GetDlgCtrlID(box.control()));
    first_parent.reset();

    auto second_parent = make_parent_window();
    ASSERT_TRUE(box.create(second_parent.get(), 10, 10));
    EXPECT_EQ(before + 2, ::GetDlgCtrlID(box.control()));
}

TEST(HotkeyBox, CreateIsRefusedWhileAttachedAndKeepsTheFirstControl) {
    HotkeyBox box;
    auto parent = make_parent_window();
    ASSERT_TRUE(box.create(parent.get(), 10, 10));
    HWND first = box.control();
    box.set_key({0x41, 0x02});
    const int before = HotkeyBox::last_control_id();

    EXPECT_FALSE(box.create(parent.get(), 10, 40));

    EXPECT_EQ(before + 1, HotkeyBox::last_control_id()) << "a refused call still takes an identifier";
    EXPECT_EQ(first, box.control());
    EXPECT_EQ(&box, HotkeyBox::attached_to(first));
    EXPECT_EQ((HotkeyValue{0x41, 0x02}), box.get_key());
    EXPECT_EQ(nullptr, ::GetDlgItem(parent.get(), before + 1)) << "no second control was made";
}

TEST(HotkeyBox, DestroyingTheControlDetachesSoTheNextCreateSucceeds) {
    HotkeyBox box;
    auto parent = make_parent_window();
    ASSERT_TRUE(box.create(parent.get(), 10, 10));
    HWND old_control = box.control();
    EXPECT_NE(class_procedure(old_control), window_procedure(old_control)) << "messages are taken over";

    parent.reset();  // destroys the control with its parent

    EXPECT_EQ(nullptr, box.control());
    EXPECT_EQ(nullptr, HotkeyBox::attached_to(old_control));
    EXPECT_EQ((HotkeyValue{0, 0}), box.get_key());

    auto next_parent = make_parent_window();
    ASSERT_TRUE(box.create(next_parent.get(), 10, 10));
    box.set_key({0x0D, 0});
    EXPECT_EQ((HotkeyValue{0x0D, 0}), box.get_key());
}

TEST(HotkeyBox, DestroyingTheWrapperGivesTheControlItsOwnProcedureBack) {
    auto parent = make_parent_window();
    HWND control = nullptr;
    {
        HotkeyBox box;
        ASSERT_TRUE(box.create(parent.get(), 10, 10));
        control = box.control();
        box.set_key({0x74, 0x05});
    }
    ASSERT_TRUE(::IsWindow(control));
    EXPECT_EQ(class_procedure(control), window_procedure(control));
    EXPECT_EQ(nullptr, HotkeyBox::attached_to(control));
    EXPECT_EQ(0x0574, ::SendMessageW(control, HKM_GETHOTKEY, 0, 0) & 0xFFFF) << "the control still works";
}

TEST(HotkeyBox, EmptyFieldReadsAsNoKeyAndSetKeyRoundTrips) {
    HotkeyBox box;
    auto parent = make_parent_window();
    ASSERT_TRUE(box.create(parent.get(), 10, 10));
    EXPECT_EQ((HotkeyValue{0, 0}), box.get_key());

    const std::array<HotkeyValue, 4> keys{{{0x0D, 0}, {0x74, 0x05}, {0x41, HOTKEYF_CONTROL}, {0x70, 0}}};
    for (const HotkeyValue key : keys) {
        box.set_key(key);
        EXPECT_EQ(key, box.get_key()) << "key " << int(key.key_code) << " modifiers " << int(key.modifiers);
        // The control's own word: key code in the low byte, modifiers in the high byte.
        EXPECT_EQ(key.key_code + 256 * key.modifiers, ::SendMessageW(box.control(), HKM_GETHOTKEY, 0, 0) & 0xFFFF);
    }
}

TEST(HotkeyBox, DetachedWrapperReadsNoKeyAndIgnoresSetKey) {
    HotkeyBox box;
    box.set_key({0x41, 0});
    EXPECT_EQ((HotkeyValue{0, 0}), box.get_key());
    EXPECT_EQ(nullptr, box.control());
}

TEST(HotkeyBox, ControlHasTheDefaultSizeFontEdgeAndStyle) {
    HotkeyBox box;
    auto parent = make_parent_window();
    ASSERT_TRUE(box.create(parent.get(), 7, 9));
    HWND control = box.control();

    EXPECT_EQ((testing::Placement{7, 9, 100, 20}), testing::placement(control));

    wchar_t class_name[64] = {};
    ::GetClassNameW(control, class_name, 64);
    EXPECT_STREQ(L"msctls_hotkey32", class_name);
    EXPECT_EQ(parent.get(), ::GetParent(control));
    EXPECT_EQ(reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT)), ::SendMessageW(control, WM_GETFONT, 0, 0));
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    const DWORD expected = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS;
    EXPECT_EQ(expected, style & expected);
    EXPECT_TRUE(::GetWindowLongPtrW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST(HotkeyBox, ExplicitSizeAndStylesAreUsed) {
    HotkeyBox box;
    auto parent = make_parent_window();
    ASSERT_TRUE(box.create(parent.get(), 0, 0, 84, 24, WS_BORDER, WS_EX_TOOLWINDOW));
    EXPECT_EQ((testing::Placement{0, 0, 84, 24}), testing::placement(box.control()));
    EXPECT_TRUE(::GetWindowLongPtrW(box.control(), GWL_STYLE) & WS_BORDER);
    EXPECT_TRUE(::GetWindowLongPtrW(box.control(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
}

// The user's keys reach the control through the taken-over procedure.
TEST(HotkeyBox, CapturesWhatTheUserPresses) {
    HotkeyBox box;
    auto parent = make_parent_window();
    ASSERT_TRUE(box.create(parent.get(), 10, 10));
    ::SetForegroundWindow(parent.get());
    box.set_focus();
    ASSERT_EQ(box.control(), ::GetFocus());

    testing::send_keys({VK_CONTROL, 'A'});
    EXPECT_TRUE(pump_until([&] { return box.get_key() == HotkeyValue{0x41, HOTKEYF_CONTROL}; }))
        << "got " << int(box.get_key().key_code) << "/" << int(box.get_key().modifiers);

    testing::send_keys({VK_SHIFT, VK_MENU, VK_F5});
    EXPECT_TRUE(pump_until([&] { return box.get_key() == HotkeyValue{0x74, HOTKEYF_SHIFT | HOTKEYF_ALT}; }))
        << "got " << int(box.get_key().key_code) << "/" << int(box.get_key().modifiers);
}

}  // namespace
}  // namespace keyvora::ui
