#include "ui/key_step_dialog.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "gbk_literals.h"
#include "ui/control_ids.h"
#include "ui/step_dialogs.h"
#include "ui_test_support.h"
#include "vector_step_list.h"
#include "win32/window_text.h"

namespace keyvora::ui {
namespace {

using keyvora::testing::VectorStepList;
using namespace keyvora::ui::testing;

class KeyStepDialogTest : public ::testing::Test {
protected:
    void SetUp() override { owner_ = make_parent_window(); }

    // Opens the dialog without its modal loop; the test then acts as the user would.
    KeyStepDialog& open(int edit_mode) {
        dialog_ = std::make_unique<KeyStepDialog>(steps_, box_, edit_mode);
        EXPECT_TRUE(dialog_->open(owner_.get()));
        return *dialog_;
    }

    void click_confirm() {
        ::SendMessageW(dialog_->confirm_button(), BM_CLICK, 0, 0);
        win32::pump_messages();
    }

    void set_delay(std::string_view text) { win32::set_window_text(dialog_->delay_field(), text); }

    VectorStepList steps_;
    HotkeyBox box_;
    win32::unique_window owner_;
    std::unique_ptr<KeyStepDialog> dialog_;
};

TEST_F(KeyStepDialogTest, AddModeOpensWithItsTextsLayoutAndTheFocusInAnEmptyHotkeyField) {
    KeyStepDialog& dialog = open(0);

    EXPECT_EQ(kAddKeyCaption, win32::window_text(dialog.window()));
    EXPECT_EQ(kAddButton, win32::window_text(dialog.confirm_button()));
    EXPECT_EQ("1000", win32::window_text(dialog.delay_field()));
    EXPECT_EQ(176, client_size(dialog.window()).cx);
    EXPECT_EQ(142, client_size(dialog.window()).cy);

    ASSERT_NE(nullptr, box_.control());
    EXPECT_EQ((HotkeyValue{0, 0}), box_.get_key());
    EXPECT_EQ(box_.control(), ::GetFocus());
    EXPECT_EQ(dialog.group(), ::GetParent(box_.control()));
    EXPECT_EQ((Placement{48, 20, 84, 20}), placement(box_.control()));
    EXPECT_EQ(dialog.group(), ::GetParent(dialog.delay_field()));
    EXPECT_EQ((Placement{48, 52, 84, 20}), placement(dialog.delay_field()));
    EXPECT_EQ((Placement{13, 102, 150, 32}), placement(dialog.confirm_button()));
    EXPECT_EQ((Placement{13, 6, 150, 91}), placement(dialog.group()));

    const auto style = ::GetWindowLongPtrW(dialog.window(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
}

TEST_F(KeyStepDialogTest, AddModeAppendsAfterTheLastRowAndStaysOpenForTheNextStep) {
    steps_ = VectorStepList({{"x", "1"}, {"y", "2"}});
    steps_.set_current_row(0);
    open(0);
    box_.set_key({0x41, HOTKEYF_CONTROL});  // the modifier is not stored

    click_confirm();
    ::SetFocus(dialog_->delay_field());
    click_confirm();

    const ScriptStep added{kKeyPrefix + kKeyA, "1000"};
    EXPECT_EQ((std::vector<ScriptStep>{{"x", "1"}, {"y", "2"}, added, added}), steps_.rows());
    EXPECT_EQ(0, steps_.current_row());
    EXPECT_NE(nullptr, dialog_->window());
    EXPECT_EQ(box_.control(), ::GetFocus());
    EXPECT_EQ((HotkeyValue{0x41, HOTKEYF_CONTROL}), box_.get_key());
    EXPECT_EQ("1000", win32::window_text(dialog_->delay_field()));
}

TEST_F(KeyStepDialogTest, MissingKeyOrZeroDelayIsRefusedAndChangesNothing) {
    struct Case {
        std::uint8_t key;
        const char* delay;
    };
    const std::array<Case, 6> cases{{{0, "1000"}, {0x41, ""}, {0x41, "0"}, {0x41, "-0"}, {0x41, "abc"},
                                     {0x41, "0.00000001"}}};
    open(0);
    for (const Case& refused : cases) {
        box_.set_key({refused.key, 0});
        set_delay(refused.delay);
        click_confirm();
        EXPECT_EQ(0, steps_.row_count()) << int(refused.key) << " / " << refused.delay;
        EXPECT_NE(nullptr, dialog_->window());
        EXPECT_EQ(refused.delay, win32::window_text(dialog_->delay_field()));
    }
}

TEST_F(KeyStepDialogTest, AcceptedDelayIsStoredExactlyAsTyped) {
    const std::array<const char*, 5> delays{"-100", "1-2", "0.5", "99999", " 7ms"};
    open(0);
    box_.set_key({0x41, 0});
    for (const char* delay : delays) {
        set_delay(delay);
        click_confirm();
        ASSERT_FALSE(steps_.rows().empty()) << delay;
        EXPECT_EQ(delay, steps_.rows().back().delay_text);
    }
    EXPECT_EQ(static_cast<int>(delays.size()), steps_.row_count());
}

TEST_F(KeyStepDialogTest, StepTextNamesTheCapturedKey) {
    struct Case {
        std::uint8_t key;
        std::string name;
    };
    const std::array<Case, 3> cases{{{0x41, kKeyA}, {0x65, kKeypad5}, {0x6D, ""}}};  // 0x6D has no name
    open(0);
    for (const Case& key : cases) {
        box_.set_key({key.key, 0});
        click_confirm();
        ASSERT_FALSE(steps_.rows().empty());
        EXPECT_EQ(kKeyPrefix + key.name, steps_.rows().back().step_text) << "key " << int(key.key);
    }
}

TEST_F(KeyStepDialogTest, EditModePresetsTheSelectedStepAndConfirmRewritesItAndCloses) {
    steps_ = VectorStepList({{kMousePrefix + "1,2", "1000"}, {kKeyPrefix + kKeyA, "500"}});
    steps_.set_current_row(1);
    KeyStepDialog& dialog = open(1);

    EXPECT_EQ(kEditKeyCaption, win32::window_text(dialog.window()));
    EXPECT_EQ(kEditButton, win32::window_text(dialog.confirm_button()));
    EXPECT_EQ((HotkeyValue{0x41, 0}), box_.get_key());
    EXPECT_EQ("500", win32::window_text(dialog.delay_field()));

    box_.set_key({0x42, 0});
    click_confirm();

    EXPECT_EQ((std::vector<ScriptStep>{{kMousePrefix + "1,2", "1000"}, {kKeyPrefix + kKeyB, "500"}}), steps_.rows());
    EXPECT_EQ(nullptr, dialog.window());
    EXPECT_EQ(nullptr, box_.control()) << "the hotkey field went away with the dialog";
}

TEST_F(KeyStepDialogTest, EditModePresetsTheKeyOfTheStepNameWithoutModifiers) {
    struct Case {
        std::string step_text;
        HotkeyValue expected;
    };
    const std::array<Case, 4> cases{{{kKeyPrefix + kKeyA, {0x41, 0}},
                                     {kKeyPrefix + kKeypad5, {0x35, 0}},  // the name means the main-keyboard 5
                                     {kKeyPrefix, {0, 0}},
                                     {kKeyPrefix + "nothing", {0, 0}}}};
    for (const Case& step : cases) {
        steps_ = VectorStepList({{step.step_text, "10"}});
        steps_.set_current_row(0);
        open(1);
        EXPECT_EQ(step.expected, box_.get_key()) << step.step_text;
        dialog_.reset();
    }
}

TEST_F(KeyStepDialogTest, EditModeWithAnEmptyFieldBeepsAndStaysOpen) {
    steps_ = VectorStepList({{kKeyPrefix, "500"}});
    steps_.set_current_row(0);
    open(1);
    click_confirm();
    EXPECT_NE(nullptr, dialog_->window());
    EXPECT_EQ((std::vector<ScriptStep>{{kKeyPrefix, "500"}}), steps_.rows());
}

TEST_F(KeyStepDialogTest, EditModeWithNoRowSelectedAtTheClickWritesNothingAndCloses) {
    steps_ = VectorStepList({{kKeyPrefix + kKeyA, "500"}});
    steps_.set_current_row(0);
    open(1);
    steps_.set_current_row(-1);
    box_.set_key({0x42, 0});
    click_confirm();
    EXPECT_EQ(nullptr, dialog_->window());
    EXPECT_EQ((std::vector<ScriptStep>{{kKeyPrefix + kKeyA, "500"}}), steps_.rows());
}

TEST_F(KeyStepDialogTest, EachOpeningMakesAHotkeyControlWithTheNextIdentifier) {
    open(0);
    const int first = ::GetDlgCtrlID(box_.control());
    dialog_->close();
    EXPECT_EQ(nullptr, box_.control());
    open(0);
    EXPECT_EQ(first + 1, ::GetDlgCtrlID(box_.control()));
}

// Esc and Enter are keys for the focused control, not dialog commands.
TEST_F(KeyStepDialogTest, EscAndEnterDoNotCloseTheDialogOrMoveTheFocus) {
    open(0);
    ::SetForegroundWindow(dialog_->window());
    send_keys({VK_ESCAPE});
    send_keys({VK_RETURN});
    pump_for(std::chrono::milliseconds(100));
    EXPECT_NE(nullptr, dialog_->window());
    EXPECT_EQ(box_.control(), ::GetFocus());
}

// The modal entry point, driven from a timer the way a user would drive it.
struct ModalScript {
    HWND owner = nullptr;
    HotkeyBox* box = nullptr;
    bool owner_was_disabled = false;
    bool clicked = false;
    bool quit = false;
};
ModalScript* modal_script = nullptr;

void CALLBACK drive_key_dialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = ::FindWindowW(kKeyStepDialogClass, nullptr);
    if (dialog == nullptr || modal_script == nullptr) return;
    ::KillTimer(nullptr, timer);
    modal_script->owner_was_disabled = !::IsWindowEnabled(modal_script->owner);
    if (modal_script->quit) {
        ::PostQuitMessage(3);
        return;
    }
    modal_script->box->set_key({0x41, 0});
    HWND button = ::FindWindowExW(dialog, nullptr, L"Button", nullptr);
    while (button != nullptr && (::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
        button = ::FindWindowExW(dialog, button, L"Button", nullptr);
    }
    ::SendMessageW(button, BM_CLICK, 0, 0);
    modal_script->clicked = true;
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
}

TEST_F(KeyStepDialogTest, ModalDialogDisablesTheOwnerUntilClosed) {
    ModalScript script{owner_.get(), &box_};
    modal_script = &script;
    ::SetTimer(nullptr, 0, 20, &drive_key_dialog);
    run_key_step_dialog(owner_.get(), steps_, box_, 0);
    modal_script = nullptr;

    EXPECT_TRUE(script.owner_was_disabled);
    EXPECT_TRUE(script.clicked);
    EXPECT_TRUE(::IsWindowEnabled(owner_.get()));
    EXPECT_EQ(nullptr, ::FindWindowW(kKeyStepDialogClass, nullptr));
    EXPECT_EQ((std::vector<ScriptStep>{{kKeyPrefix + kKeyA, "1000"}}), steps_.rows());
}

TEST_F(KeyStepDialogTest, QuitDuringTheModalLoopEndsItAndIsPassedOn) {
    ModalScript script{owner_.get(), &box_};
    script.quit = true;
    modal_script = &script;
    ::SetTimer(nullptr, 0, 20, &drive_key_dialog);
    run_key_step_dialog(owner_.get(), steps_, box_, 0);
    modal_script = nullptr;

    EXPECT_TRUE(script.owner_was_disabled);
    EXPECT_TRUE(::IsWindowEnabled(owner_.get()));
    EXPECT_EQ(nullptr, ::FindWindowW(kKeyStepDialogClass, nullptr));
    MSG message{};
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, message.wParam);
}

}  // namespace
}  // namespace keyvora::ui
