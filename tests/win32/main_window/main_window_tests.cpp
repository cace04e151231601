// The main window's own pieces against real windows under Wine: the list view as StepList, the
// context menu and its commands, and the main window's layout, hotkey and close paths.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "script/gbk_text.h"
#include "ui/control_ids.h"
#include "ui/hotkey_box.h"
#include "ui/main_window.h"
#include "ui/step_list_view.h"
#include "ui/step_menu.h"
#include "ui/target_list.h"
#include "ui/ui_texts.h"
#include "win32/gbk_convert.h"
#include "win32/handles.h"
#include "win32/message_pump.h"
#include "win32/window_text.h"

namespace keyvora::ui {
namespace {

using win32::unique_window;

unique_window make_parent_window() {
    return unique_window(::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 340, 260,
                                           nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

// A closed main window leaves WM_QUIT behind, which would stop every later pump in this thread.
void drop_quit_message() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(3)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        win32::pump_messages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    return done();
}

UINT item_state(HWND list, int row) {
    return static_cast<UINT>(::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED | LVIS_FOCUSED));
}

class StepListViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = make_parent_window();
        ASSERT_NE(parent_, nullptr);
        HWND list = create_step_list_control(parent_.get(), 8, 8, 292, 174, kIdStepList);
        ASSERT_NE(list, nullptr);
        view_.attach(list);
    }

    void add_rows(std::initializer_list<const char*> step_texts) {
        for (const char* text : step_texts) {
            const int row = view_.insert_row(-1);
            view_.set_cell_text(row, 0, text);
            view_.set_cell_text(row, 1, gbk::kDefaultDelay);
        }
    }

    std::vector<std::string> column0() const {
        std::vector<std::string> texts;
        for (int row = 0; row < view_.row_count(); ++row) texts.push_back(view_.cell_text(row, 0));
        return texts;
    }

    unique_window parent_;
    StepListView view_;
};

TEST_F(StepListViewTest, IsConfiguredAsReportListWithTwoFixedColumns) {
    HWND list = view_.handle();
    const auto style = static_cast<DWORD>(::GetWindowLongW(list, GWL_STYLE));
    const DWORD wanted = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
    EXPECT_EQ(wanted, style & (wanted | LVS_EDITLABELS | LVS_TYPEMASK));
    EXPECT_NE(0u, static_cast<DWORD>(::GetWindowLongW(list, GWL_EXSTYLE)) & WS_EX_CLIENTEDGE);
    const auto extended = static_cast<DWORD>(::SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES),
              extended & (LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_HEADERDRAGDROP |
                          LVS_EX_TRACKSELECT));

    struct Column {
        std::string_view title;
        int width;
    };
    const Column columns[] = {{text::kStepColumn, 168}, {text::kDelayColumn, 100}};
    for (int index = 0; index < 2; ++index) {
        wchar_t title[64] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.pszText = title;
        column.cchTextMax = 64;
        ASSERT_TRUE(::SendMessageW(list, LVM_GETCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_EQ(columns[index].title, win32::to_gbk(title));
        EXPECT_EQ(columns[index].width, column.cx);
        EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK);
    }
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(2, ::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(0, view_.row_count());
    EXPECT_EQ(-1, view_.current_row());
}

TEST_F(StepListViewTest, CellTextsKeepTheirGbkBytesWhateverTheirLength) {
    const std::string long_text = std::string(gbk::kKeyStepPrefix) + std::string(3000, 'x') + "\xB0\xB4";
    const std::string cases[] = {
        "",
        "\xB0\xB4\xBC\xFC\xA3\xBA\xBB\xD8\xB3\xB5\xBC\xFC",  // 按键：回车键
        "\xCA\xF3\xB1\xEA\xA3\xBA 12 , 34 ",                  // 鼠标： 12 , 34 (blanks kept)
        "a\rb\nc",
        long_text,
    };
    for (const std::string& text : cases) {
        const int row = view_.insert_row(-1);
        view_.set_cell_text(row, 0, text);
        view_.set_cell_text(row, 1, text);
        EXPECT_EQ(text, view_.cell_text(row, 0));
        EXPECT_EQ(text, view_.cell_text(row, 1));
    }
    EXPECT_EQ("", view_.cell_text(-1, 0));
    EXPECT_EQ("", view_.cell_text(view_.row_count(), 0));
}

TEST_F(StepListViewTest, InsertRowPlacesTheRowOrAppends) {
    add_rows({"a", "b"});
    struct Case {
        int position;
        int expected_index;
    };
    // -1 and positions at or past the end append; others insert before the row at that index.
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{-1, 4}, Case{5, 5}, Case{99, 6}}) {
        const int index = view_.insert_row(c.position);
        EXPECT_EQ(c.expected_index, index) << "position " << c.position;
        view_.set_cell_text(index, 0, std::to_string(c.position));
    }
    EXPECT_EQ((std::vector<std::string>{"0", "1", "a", "b", "-1", "5", "99"}), column0());
    EXPECT_EQ("", view_.cell_text(0, 1)) << "a new row is empty";
    EXPECT_EQ(-1, view_.current_row()) << "a new row is not selected";
}

TEST_F(StepListViewTest, SelectionFollowsItsRowAndCanBeCleared) {
    add_rows({"a", "b", "c"});
    view_.set_current_row(1);
    EXPECT_EQ(1, view_.current_row());
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED), item_state(view_.handle(), 1));

    view_.set_current_row(2);  // single selection: the earlier row loses it
    EXPECT_EQ(2, view_.current_row());
    EXPECT_EQ(0u, item_state(view_.handle(), 1) & LVIS_SELECTED);

    view_.insert_row(0);
    EXPECT_EQ(3, view_.current_row()) << "the selection moves down with its row";
    view_.delete_row(0);
    EXPECT_EQ(2, view_.current_row());

    view_.set_current_row(-1);
    EXPECT_EQ(-1, view_.current_row());
    EXPECT_EQ(0u, item_state(view_.handle(), 2)) << "neither selected nor focused";
    view_.set_current_row(-1);  // nothing selected: no effect
    EXPECT_EQ(-1, view_.current_row());
}

TEST_F(StepListViewTest, DeleteRowIgnoresMissingRowsAndDeletingTheSelectionClearsIt) {
    add_rows({"a", "b", "c"});
    for (int missing : {-1, 3, 100}) view_.delete_row(missing);
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), column0());

    view_.set_current_row(1);
    view_.delete_row(1);
    EXPECT_EQ((std::vector<std::string>{"a", "c"}), column0());
    EXPECT_EQ(-1, view_.current_row());

    view_.delete_all_rows();
    EXPECT_EQ(0, view_.row_count());
}

TEST_F(StepListViewTest, BulkLoadKeepsRowsAndRepaintsAfterwards) {
    {
        const StepListView::BulkLoad bulk(view_, 3);
        add_rows({"a", "b", "c"});
    }
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), column0());
    EXPECT_EQ(-1, view_.current_row());
    // Redraw is on again: an invalidated list has an update region to paint.
    ::UpdateWindow(view_.handle());
    ::InvalidateRect(view_.handle(), nullptr, FALSE);
    EXPECT_TRUE(::GetUpdateRect(view_.handle(), nullptr, FALSE));
}

// The commands of the context menu that need no dialog.
TEST_F(StepListViewTest, InsertFixedKeyStepGoesBelowTheSelectionOrAtTheEnd) {
    struct Case {
        int selected;
        int new_index;
    };
    for (const Case c : {Case{-1, 4}, Case{2, 3}, Case{3, 4}, Case{0, 1}}) {
        view_.delete_all_rows();
        add_rows({"r0", "r1", "r2", "r3"});
        view_.set_current_row(c.selected);
        insert_fixed_key_step(view_, text::kEnterStep);
        EXPECT_EQ(5, view_.row_count());
        EXPECT_EQ(text::kEnterStep, view_.cell_text(c.new_index, 0)) << "selected " << c.selected;
        EXPECT_EQ("1000", view_.cell_text(c.new_index, 1));
        EXPECT_EQ(c.selected, view_.current_row()) << "the selection stays on its row";
    }
}

TEST_F(StepListViewTest, MenuCommandsInsertTheThreeReadyMadeKeySteps) {
    struct Case {
        int command;
        std::string_view step_text;
    };
    const Case cases[] = {
        {kIdMenuInsertEnter, "\xB0\xB4\xBC\xFC\xA3\xBA\xBB\xD8\xB3\xB5\xBC\xFC"},  // 按键：回车键
        {kIdMenuInsertEsc, "\xB0\xB4\xBC\xFC\xA3\xBA" "Esc\xBC\xFC"},              // 按键：Esc键 (no blank)
        {kIdMenuInsertSpace, "\xB0\xB4\xBC\xFC\xA3\xBA\xBF\xD5\xB8\xF1\xBC\xFC"},  // 按键：空格键
    };
    HotkeyBox hotkey_box;
    for (const Case& c : cases) {
        EXPECT_TRUE(run_step_command(c.command, parent_.get(), view_, hotkey_box));
        EXPECT_EQ(c.step_text, view_.cell_text(view_.row_count() - 1, 0));
    }
    EXPECT_FALSE(run_step_command(IDOK, parent_.get(), view_, hotkey_box));
    EXPECT_EQ(3, view_.row_count());
}

TEST_F(StepListViewTest, DeleteSelectedStepRemovesOnlyTheSelectedRow) {
    add_rows({"a", "b", "c"});
    delete_selected_step(view_);  // nothing selected
    EXPECT_EQ(3, view_.row_count());
    view_.set_current_row(0);
    delete_selected_step(view_);
    EXPECT_EQ((std::vector<std::string>{"b", "c"}), column0());
    EXPECT_EQ(-1, view_.current_row());
}

// The popup as its owner sees it when it opens: item texts, separators and grayed states.
struct MenuSnapshot {
    std::vector<std::string> texts;  // "-" for a separator
    std::vector<bool> grayed;
    std::vector<UINT> ids;
};
MenuSnapshot g_menu_snapshot;

LRESULT CALLBACK menu_owner_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_INITMENUPOPUP) {
        HMENU menu = reinterpret_cast<HMENU>(wparam);
        g_menu_snapshot = {};
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
            wchar_t text[64] = {};
            ::GetMenuStringW(menu, i, text, 64, MF_BYPOSITION);
            g_menu_snapshot.texts.push_back((state & MF_SEPARATOR) ? "-" : win32::to_gbk(text));
            // A separator reports itself grayed; only the state of real items matters.
            g_menu_snapshot.grayed.push_back(!(state & MF_SEPARATOR) && (state & MF_GRAYED) != 0);
            g_menu_snapshot.ids.push_back(::GetMenuItemID(menu, i));
        }
        ::PostMessageW(window, WM_CANCELMODE, 0, 0);
        ::EndMenu();
        return 0;
    }
    return ::DefWindowProcW(window, message, wparam, lparam);
}

TEST_F(StepListViewTest, StepMenuGraysDeleteAndEditOnlyWithoutSelection) {
    WNDCLASSW owner_class{};
    owner_class.lpfnWndProc = menu_owner_procedure;
    owner_class.hInstance = ::GetModuleHandleW(nullptr);
    owner_class.lpszClassName = L"KeyvoraMenuOwnerTest";
    ::RegisterClassW(&owner_class);
    unique_window owner(::CreateWindowExW(0, L"KeyvoraMenuOwnerTest", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                                          200, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_NE(owner, nullptr);
    ::SetForegroundWindow(owner.get());

    const std::vector<std::string> texts = {
        std::string(text::kMenuAddKey),       std::string(text::kMenuAddMouse),   std::string(text::kMenuDelete), "-",
        std::string(text::kMenuEdit),         "-",                                std::string(text::kMenuInsertEnter),
        std::string(text::kMenuInsertEsc),    std::string(text::kMenuInsertSpace)};
    const std::vector<UINT> ids = {kIdMenuAddKey, kIdMenuAddMouse, kIdMenuDelete, 0, kIdMenuEdit, 0,
                                   kIdMenuInsertEnter, kIdMenuInsertEsc, kIdMenuInsertSpace};
    add_rows({"a"});
    for (const int selected : {-1, 0}) {
        view_.set_current_row(selected);
        g_menu_snapshot = {};
        show_step_menu(owner.get(), view_);
        ASSERT_EQ(texts, g_menu_snapshot.texts) << "selected " << selected;
        EXPECT_EQ(ids, g_menu_snapshot.ids);
        const bool gray = selected == -1;
        EXPECT_EQ((std::vector<bool>{false, false, gray, false, gray, false, false, false, false}),
                  g_menu_snapshot.grayed)
            << "selected " << selected;
    }
}

// The whole main window, as the program creates it.
class MainWindowTest : public ::testing::Test {
protected:
    // A window destroyed by the fixture of the test before leaves its WM_QUIT behind.
    MainWindowTest() { drop_quit_message(); }
    void TearDown() override { drop_quit_message(); }

    static RECT rect_in_parent(HWND control) {
        RECT rect{};
        ::GetWindowRect(control, &rect);
        ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    HotkeyBox hotkey_box_;
};

TEST_F(MainWindowTest, LayoutMatchesTheFittedDesign) {
    MainWindow main(hotkey_box_);
    ASSERT_TRUE(main.create(::GetModuleHandleW(nullptr)));
    HWND window = main.handle();

    EXPECT_EQ("Keyvora", win32::window_text(window));
    const auto style = static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
              style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_NE(0u, static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE)) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(nullptr, ::GetMenu(window));

    RECT client{};
    ::GetClientRect(window, &client);
    EXPECT_EQ(MainWindow::kFittedClientHeight, client.bottom);
    RECT outer{};
    ::GetWindowRect(window, &outer);
    EXPECT_EQ(315, outer.right - outer.left);
    EXPECT_EQ((::GetSystemMetrics(SM_CXSCREEN) - 315) / 2, outer.left);
    EXPECT_EQ((::GetSystemMetrics(SM_CYSCREEN) - 322) / 2, outer.top);

    struct Control {
        int id;
        RECT rect;  // left, top, right, bottom
        std::string_view text;
    };
    const Control controls[] = {
        {kIdStepList, {8, 42, 300, 216}, ""},
        {kIdRunButton, {8, 222, 112, 254}, text::kRunButton},
        {kIdOpenButton, {114, 222, 174, 254}, text::kOpenButton},
        {kIdSaveButton, {176, 222, 236, 254}, text::kSaveButton},
        {kIdHelpButton, {240, 222, 300, 254}, text::kHelpButton},
        {kIdHotkeyLabel, {141, 360, 221, 384}, ""},
    };
    for (const Control& c : controls) {
        HWND control = ::GetDlgItem(window, c.id);
        ASSERT_NE(nullptr, control) << c.id;
        const RECT rect = rect_in_parent(control);
        EXPECT_TRUE(::EqualRect(&c.rect, &rect)) << "control " << c.id << " at " << rect.left << "," << rect.top
                                                 << " to " << rect.right << "," << rect.bottom;
        EXPECT_EQ(c.text, win32::window_text(control)) << c.id;
        EXPECT_EQ(::GetStockObject(DEFAULT_GUI_FONT),
                  reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)))
            << c.id;
    }
    EXPECT_GE(rect_in_parent(::GetDlgItem(window, kIdHotkeyLabel)).top, client.bottom) << "the label is never seen";

    HWND combo = ::GetDlgItem(window, kIdTargetList);
    const RECT combo_rect = rect_in_parent(combo);
    EXPECT_EQ(8, combo_rect.left);
    EXPECT_EQ(12, combo_rect.top);
    EXPECT_EQ(292, combo_rect.right - combo_rect.left);
    EXPECT_EQ(static_cast<DWORD>(CBS_DROPDOWN),
              static_cast<DWORD>(::GetWindowLongW(combo, GWL_STYLE)) & (CBS_DROPDOWNLIST | CBS_SORT));
    EXPECT_GT(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 0) << "filled at creation: this test runs as a process";
    EXPECT_EQ(CB_ERR, ::SendMessageW(combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ("", chosen_target_text(combo));
}

TEST_F(MainWindowTest, HomeIsHeldByOneWindowAtATimeAndFreedOnClose) {
    auto first = std::make_unique<MainWindow>(hotkey_box_);
    ASSERT_TRUE(first->create(::GetModuleHandleW(nullptr)));
    EXPECT_EQ(MainWindow::kRunHotkeyId, first->runner().run_hotkey_id());

    MainWindow second(hotkey_box_);
    ASSERT_TRUE(second.create(::GetModuleHandleW(nullptr)));
    EXPECT_EQ(0, second.runner().run_hotkey_id()) << "Home is already taken";

    first.reset();  // destroys the window, which unregisters Home
    drop_quit_message();
    MainWindow third(hotkey_box_);
    ASSERT_TRUE(third.create(::GetModuleHandleW(nullptr)));
    EXPECT_EQ(MainWindow::kRunHotkeyId, third.runner().run_hotkey_id());
}

class RunningMainWindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(main_.create(::GetModuleHandleW(nullptr)));
        combo_ = ::GetDlgItem(main_.handle(), kIdTargetList);
        // Our own process is the target, so the steps go to a window of this test.
        const auto own_entry = ::SendMessageW(combo_, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(L"main_window_tests.exe"));
        ASSERT_NE(CB_ERR, own_entry);
        ::SendMessageW(combo_, CB_SETCURSEL, own_entry, 0);
        const int row = main_.steps().insert_row(-1);
        main_.steps().set_cell_text(row, 0, text::kEnterStep);
        main_.steps().set_cell_text(row, 1, "20");
    }

    std::string handle_of_chosen_entry() const {
        return std::to_string(target_handle_of_entry(chosen_target_text(combo_)));
    }

    MainWindow main_{hotkey_box_};
    HWND combo_ = nullptr;
};

TEST_F(RunningMainWindowTest, OnlyOurHotkeyReachesTheRunner) {
    ::SendMessageW(main_.handle(), WM_HOTKEY, 5, MAKELPARAM(0, VK_HOME));
    EXPECT_EQ("Keyvora", win32::window_text(main_.handle())) << "a foreign hotkey id starts nothing";

    // The first hotkey starts the run inside this call; the posted second one, handled while the
    // run waits between steps, stops it, and the call returns.
    ::PostMessageW(main_.handle(), WM_HOTKEY, MainWindow::kRunHotkeyId, MAKELPARAM(0, VK_HOME));
    ::SendMessageW(main_.handle(), WM_HOTKEY, MainWindow::kRunHotkeyId, MAKELPARAM(0, VK_HOME));
    EXPECT_FALSE(main_.runner().is_running());
    EXPECT_EQ(handle_of_chosen_entry(), win32::window_text(main_.handle()));
    EXPECT_EQ(text::kRunButton, win32::window_text(::GetDlgItem(main_.handle(), kIdRunButton)));
    EXPECT_TRUE(::IsWindowEnabled(combo_));
}

// Seen from inside a run: a thread timer fires during the waits between steps, notes what the
// controls show and clicks the run button again.
struct RunProbe {
    HWND window = nullptr;
    HWND combo = nullptr;
    HWND run_button = nullptr;
    bool combo_disabled = false;
    std::string button_text;
};
RunProbe g_run_probe;

void CALLBACK probe_running_controls(HWND, UINT, UINT_PTR timer, DWORD) {
    ::KillTimer(nullptr, timer);
    g_run_probe.combo_disabled = !::IsWindowEnabled(g_run_probe.combo);
    g_run_probe.button_text = win32::window_text(g_run_probe.run_button);
    ::PostMessageW(g_run_probe.window, WM_COMMAND, MAKEWPARAM(kIdRunButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(g_run_probe.run_button));
}

TEST_F(RunningMainWindowTest, RunButtonStartsAndDisablesTheTargetListWhileRunning) {
    HWND run_button = ::GetDlgItem(main_.handle(), kIdRunButton);
    g_run_probe = RunProbe{main_.handle(), combo_, run_button, false, {}};
    ::SetTimer(nullptr, 0, 30, probe_running_controls);
    ::SendMessageW(main_.handle(), WM_COMMAND, MAKEWPARAM(kIdRunButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(run_button));
    EXPECT_TRUE(g_run_probe.combo_disabled);
    EXPECT_EQ("\xCD\xA3\xD6\xB9\xD6\xB4\xD0\xD0(Home\xBC\xFC)", g_run_probe.button_text);  // 停止执行(Home键)
    EXPECT_FALSE(main_.runner().is_running());
    EXPECT_TRUE(::IsWindowEnabled(combo_));
    EXPECT_EQ(text::kRunButton, win32::window_text(run_button));
}

TEST_F(RunningMainWindowTest, ClosingTheWindowDuringARunEndsTheRunAndAsksToQuit) {
    ::PostMessageW(main_.handle(), WM_CLOSE, 0, 0);
    ::SendMessageW(main_.handle(), WM_HOTKEY, MainWindow::kRunHotkeyId, MAKELPARAM(0, VK_HOME));
    // Reaching this line at all means the run returned once the window was gone.
    EXPECT_EQ(nullptr, main_.handle());
    EXPECT_FALSE(main_.runner().is_running());
    EXPECT_TRUE(win32::quit_requested());
    EXPECT_TRUE(::RegisterHotKey(nullptr, 1, 0, VK_HOME)) << "Home was released";
    ::UnregisterHotKey(nullptr, 1);
}

TEST_F(MainWindowTest, EscapeClosesTheWindowThroughDialogNavigation) {
    MainWindow main(hotkey_box_);
    ASSERT_TRUE(main.create(::GetModuleHandleW(nullptr)));
    main.show(SW_SHOW);
    HWND button = ::GetDlgItem(main.handle(), kIdOpenButton);
    ::SetFocus(button);
    MSG escape{button, WM_KEYDOWN, VK_ESCAPE, 0x00010001, 0, {}};
    win32::dispatch_message(escape);
    EXPECT_TRUE(pump_until([&] { return main.handle() == nullptr; }));
}

TEST_F(MainWindowTest, DroppingDownRefillsTheTargetList) {
    MainWindow main(hotkey_box_);
    ASSERT_TRUE(main.create(::GetModuleHandleW(nullptr)));
    HWND combo = ::GetDlgItem(main.handle(), kIdTargetList);
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"stale entry"));
    ::SendMessageW(main.handle(), WM_COMMAND, MAKEWPARAM(kIdTargetList, CBN_DROPDOWN), reinterpret_cast<LPARAM>(combo));
    EXPECT_EQ(CB_ERR, ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(L"stale entry")));
    EXPECT_GT(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 0);
}

}  // namespace
}  // namespace keyvora::ui
