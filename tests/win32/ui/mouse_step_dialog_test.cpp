#include "ui/mouse_step_dialog.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "gbk_literals.h"
#include "ui_test_support.h"
#include "vector_step_list.h"
#include "win32/window_text.h"

namespace keyvora::ui {
namespace {

using keyvora::testing::VectorStepList;
using namespace keyvora::ui::testing;
using std::chrono::milliseconds;

class MouseStepDialogTest : public ::testing::Test {
protected:
    void SetUp() override { owner_ = make_parent_window(); }

    MouseStepDialog& open(int edit_mode) {
        dialog_ = std::make_unique<MouseStepDialog>(steps_, edit_mode);
        EXPECT_TRUE(dialog_->open(owner_.get()));
        return *dialog_;
    }

    std::string x_text() const { return win32::window_text(dialog_->x_field()); }
    std::string y_text() const { return win32::window_text(dialog_->y_field()); }

    VectorStepList steps_;
    win32::unique_window owner_;
    std::unique_ptr<MouseStepDialog> dialog_;
};

TEST(MouseStepDialogEnterKey, OnlyDownWithANewPressCounts) {
    struct Case {
        SHORT state;
        bool press;
    };
    const std::array<Case, 5> cases{{{-32767, true}, {-32768, false}, {1, false}, {0, false}, {32767, false}}};
    for (const Case& key : cases) EXPECT_EQ(key.press, MouseStepDialog::is_new_press(key.state)) << key.state;
}

TEST_F(MouseStepDialogTest, AddModeFollowsTheCursorAndLaysOutItsFields) {
    MouseStepDialog& dialog = open(0);
    EXPECT_EQ(kAddMouseCaption, win32::window_text(dialog.window()));
    EXPECT_EQ(176, client_size(dialog.window()).cx);
    EXPECT_EQ(118, client_size(dialog.window()).cy);
    EXPECT_EQ("1000", win32::window_text(dialog.delay_field()));
    EXPECT_EQ((Placement{13, 6, 150, 99}), placement(dialog.group()));
    EXPECT_EQ((Placement{52, 19, 82, 20}), placement(dialog.x_field()));
    EXPECT_EQ((Placement{52, 42, 82, 20}), placement(dialog.y_field()));
    EXPECT_EQ((Placement{52, 66, 82, 20}), placement(dialog.delay_field()));

    ::SetCursorPos(300, 200);
    EXPECT_TRUE(pump_until([&] { return x_text() == "300" && y_text() == "200"; })) << x_text() << "," << y_text();
    ::SetCursorPos(12, 34);
    EXPECT_TRUE(pump_until([&] { return x_text() == "12" && y_text() == "34"; })) << x_text() << "," << y_text();
}

TEST_F(MouseStepDialogTest, AddModeAppendsEachPointAtTheEndAndStaysOpen) {
    steps_ = VectorStepList({{"a", "1"}, {"b", "2"}});
    steps_.set_current_row(0);
    open(0);
    win32::set_window_text(dialog_->x_field(), "-15");
    win32::set_window_text(dialog_->y_field(), "200");
    dialog_->take_point();
    win32::set_window_text(dialog_->delay_field(), "250");
    win32::set_window_text(dialog_->x_field(), "abc");  // stored unchecked
    win32::set_window_text(dialog_->y_field(), "");
    dialog_->take_point();

    EXPECT_EQ((std::vector<ScriptStep>{
                  {"a", "1"}, {"b", "2"}, {kMousePrefix + "-15,200", "1000"}, {kMousePrefix + "abc,", "250"}}),
              steps_.rows());
    EXPECT_EQ(0, steps_.current_row());
    EXPECT_NE(nullptr, dialog_->window());
    EXPECT_EQ("250", win32::window_text(dialog_->delay_field()));
}

TEST_F(MouseStepDialogTest, EditModeFillsTheFieldsFromTheSelectedStepAndDoesNotFollowTheCursor) {
    struct Case {
        std::string step_text;
        const char* x;
        const char* y;
    };
    const std::array<Case, 6> cases{{{kMousePrefix + "120,45", "120", "45"},
                                     {kMousePrefix + "1,2,3", "1", "2"},
                                     {kMousePrefix + ",7", "", "7"},
                                     {kMousePrefix + "5", "5", ""},
                                     {kMousePrefix + "5,", "5", ""},
                                     {"\xCA\xF3\xB1\xEA", "", ""}}};
    ::SetCursorPos(300, 200);
    for (const Case& step : cases) {
        steps_ = VectorStepList({{"other", "1"}, {step.step_text, "500"}});
        steps_.set_current_row(1);
        MouseStepDialog& dialog = open(1);
        pump_for(milliseconds(40));
        EXPECT_EQ(kEditMouseCaption, win32::window_text(dialog.window()));
        EXPECT_EQ(step.x, x_text()) << step.step_text;
        EXPECT_EQ(step.y, y_text()) << step.step_text;
        EXPECT_EQ("500", win32::window_text(dialog.delay_field()));
        EXPECT_EQ(118, client_size(dialog.window()).cy);
        dialog_.reset();
    }
}

TEST_F(MouseStepDialogTest, EditModeRewritesTheSelectedRowAndCloses) {
    steps_ = VectorStepList({{kMousePrefix + "1,2,3", "500"}, {"other", "1"}});
    steps_.set_current_row(0);
    open(1);
    win32::set_window_text(dialog_->x_field(), "130");
    dialog_->take_point();
    EXPECT_EQ((std::vector<ScriptStep>{{kMousePrefix + "130,2", "500"}, {"other", "1"}}), steps_.rows());
    EXPECT_EQ(nullptr, dialog_->window());
}

TEST_F(MouseStepDialogTest, EditModeWithNoRowSelectedWritesNothingAndCloses) {
    steps_ = VectorStepList({{kMousePrefix + "1,2", "500"}});
    steps_.set_current_row(0);
    open(1);
    steps_.set_current_row(-1);
    dialog_->take_point();
    EXPECT_EQ((std::vector<ScriptStep>{{kMousePrefix + "1,2", "500"}}), steps_.rows());
    EXPECT_EQ(nullptr, dialog_->window());
}

}  // namespace
}  // namespace keyvora::ui
