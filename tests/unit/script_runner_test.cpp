#include "runner/script_runner.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "recording_poster.h"
#include "script/gbk_text.h"
#include "target/target_entry.h"
#include "vector_step_list.h"

namespace keyvora {
namespace {

using testing::RecordingPoster;
using testing::VectorStepList;
using Log = std::vector<std::string>;

const std::string kIdleButton = "\xD6\xB4\xD0\xD0\xBD\xC5\xB1\xBE(Home\xBC\xFC)";     // 执行脚本(Home键)
const std::string kRunningButton = "\xCD\xA3\xD6\xB9\xD6\xB4\xD0\xD0(Home\xBC\xFC)";  // 停止执行(Home键)
const std::string kAppEntry = "app.exe \xD8\xAD App \xD8\xAD 4242";                     // app.exe 丨 App 丨 4242

class FakeRunControls final : public RunControls {
public:
    explicit FakeRunControls(Log& log) : log_(log) {}

    std::string chosen_target_text() const override { return chosen; }
    void set_target_list_enabled(bool enabled) override {
        target_list_enabled = enabled;
        log_.push_back(enabled ? "list on" : "list off");
    }
    void set_run_button_text(std::string_view gbk_text) override {
        button_text = gbk_text;
        log_.push_back("button " + button_text);
    }
    void set_window_caption(std::string_view gbk_text) override {
        caption = gbk_text;
        log_.push_back("caption " + caption);
    }
    void beep(unsigned sound) override {
        beeps.push_back(sound);
        log_.push_back("beep " + std::to_string(sound));
    }

    std::string chosen;
    bool target_list_enabled = true;
    std::string button_text;
    std::string caption;
    std::vector<unsigned> beeps;

private:
    Log& log_;
};

struct WaitRecord {
    std::int32_t ms = 0;
    bool stop_at_entry = false;
    bool stop_after_action = false;  // a real waiter returns at once when this is true
};

// Does not wait: logs the wait and runs the action scripted for its ordinal (1-based, counted over
// all waits, nested ones included), so a test acts exactly where a user would, inside a wait.
class ScriptedWaiter final : public DelayWaiter {
public:
    static constexpr int kRunawayLimit = 500;

    explicit ScriptedWaiter(Log& log) : log_(log) {}

    void at_wait(int ordinal, std::function<void()> action) { actions_[ordinal] = std::move(action); }

    void wait_ms(std::int32_t ms, const std::function<bool()>& stop_requested) override {
        log_.push_back("wait " + std::to_string(ms));
        records.push_back({ms, stop_requested(), false});
        const std::size_t index = records.size() - 1;
        const int ordinal = static_cast<int>(records.size());
        if (ordinal > kRunawayLimit) {
            runaway = true;
            if (on_runaway) on_runaway();
        } else if (auto found = actions_.find(ordinal); found != actions_.end()) {
            const std::function<void()> action = std::move(found->second);
            actions_.erase(found);
            action();
        }
        records[index].stop_after_action = stop_requested();
    }

    void run_started() override {
        ++runs_started;
        log_.push_back("run started");
    }
    void run_ended() override {
        ++runs_ended;
        log_.push_back("run ended");
    }

    std::vector<WaitRecord> records;
    int runs_started = 0;
    int runs_ended = 0;
    bool runaway = false;
    std::function<void()> on_runaway;

private:
    Log& log_;
    std::map<int, std::function<void()>> actions_;
};

ScriptStep click_row(int x, int delay_ms) {
    return {std::string(gbk::kMouseStepPrefix) + std::to_string(x) + ",0", std::to_string(delay_ms)};
}

std::string click(int x) { return "click " + std::to_string(x) + ",0"; }
std::string wait(int ms) { return "wait " + std::to_string(ms); }

// The log lines that begin with one of the given words.
Log only(const Log& log, std::initializer_list<std::string_view> words) {
    Log kept;
    for (const std::string& line : log) {
        for (std::string_view word : words) {
            if (line.starts_with(word) && (line.size() == word.size() || line[word.size()] == ' ')) {
                kept.push_back(line);
                break;
            }
        }
    }
    return kept;
}

struct Harness {
    explicit Harness(std::vector<ScriptStep> rows = {}) : steps(std::move(rows)) {
        controls.chosen = kAppEntry;
        poster.on_post = [this](const testing::PostedMessage& m) { log.push_back(testing::describe(m)); };
        waiter.on_runaway = [this] { runner.end_run(); };
    }
    ~Harness() { EXPECT_FALSE(waiter.runaway) << "the run was never stopped"; }

    Log log;
    VectorStepList steps;
    FakeRunControls controls{log};
    RecordingPoster poster;
    ScriptedWaiter waiter{log};
    ScriptRunner runner{steps, controls, poster, waiter};
};

TEST(ToggleRun, ShouldShowTheRunInTheControls_AndSendNothingAfterAStopDuringADelay) {
    Harness h({click_row(5, 5000), click_row(6, 5000)});
    h.waiter.at_wait(1, [&] { h.runner.toggle_run(); });
    h.runner.toggle_run();

    const Log expected = {
        "caption 4242", "list off", "button " + kRunningButton, "beep 64", "run started",
        "move 5,0", click(5), "release 5,0", wait(5000),
        "caption 4242", "list on", "button " + kIdleButton, "beep 0",
        wait(1), "run ended",
    };
    EXPECT_EQ(expected, h.log);
    EXPECT_FALSE(h.runner.is_running());
    EXPECT_EQ(-1, h.steps.current_row());
    EXPECT_EQ(4242, h.runner.target_hwnd());
    EXPECT_TRUE(h.controls.target_list_enabled);
    // The stop ends the delay it arrives in; the pause after the pass is not waited out either.
    ASSERT_EQ(2u, h.waiter.records.size());
    EXPECT_TRUE(h.waiter.records[0].stop_after_action);
    EXPECT_TRUE(h.waiter.records[1].stop_at_entry);
}

TEST(RunLoop, ShouldRunRowsInOrderAndWrap_WithAOneMsPauseAfterEachPass) {
    Harness h({click_row(0, 10), click_row(1, 20), click_row(2, 30)});
    h.waiter.at_wait(8, [&] { h.runner.toggle_run(); });  // the second pass's 1 ms pause
    h.runner.toggle_run();

    const Log expected = {click(0), wait(10), click(1), wait(20), click(2), wait(30), wait(1),
                          click(0), wait(10), click(1), wait(20), click(2), wait(30), wait(1)};
    EXPECT_EQ(expected, only(h.log, {"click", "wait"}));
    EXPECT_TRUE(h.waiter.records.back().stop_after_action);
}

TEST(RunLoop, ShouldStartAtRowZero_WhateverRowWasSelected) {
    Harness h({click_row(0, 10), click_row(1, 20), click_row(2, 30)});
    h.steps.set_current_row(2);
    h.waiter.at_wait(1, [&] { h.runner.toggle_run(); });
    h.runner.toggle_run();
    h.steps.set_current_row(1);
    h.waiter.at_wait(3, [&] { h.runner.toggle_run(); });
    h.runner.toggle_run();

    EXPECT_EQ((Log{click(0), click(0)}), only(h.log, {"click"}));
    EXPECT_EQ(2, h.waiter.runs_started);
    EXPECT_EQ(2, h.waiter.runs_ended);
}

TEST(RunLoop, ShouldContinueAfterTheRowSelectedDuringARun) {
    struct Case {
        int selected;
        int next_x;
    };
    const Case cases[] = {{0, 1}, {1, 2}, {2, 0}, {-1, 0}};
    for (const Case& c : cases) {
        Harness h({click_row(0, 10), click_row(1, 20), click_row(2, 30)});
        h.waiter.at_wait(1, [&] { h.steps.set_current_row(c.selected); });
        h.waiter.at_wait(2, [&] { h.runner.toggle_run(); });
        h.runner.toggle_run();
        EXPECT_EQ((Log{click(0), click(c.next_x)}), only(h.log, {"click"})) << "selected " << c.selected;
    }
}

TEST(RunLoop, ShouldRunAnEditedRowWithItsNewTextAndDelay) {
    Harness h({click_row(0, 10), click_row(1, 20)});
    h.waiter.at_wait(1, [&] {
        h.steps.set_cell_text(1, 0, std::string(gbk::kMouseStepPrefix) + "9,0");
        h.steps.set_cell_text(1, 1, "55");
    });
    h.waiter.at_wait(2, [&] { h.runner.toggle_run(); });
    h.runner.toggle_run();
    EXPECT_EQ((Log{click(0), wait(10), click(9), wait(55), wait(1)}), only(h.log, {"click", "wait"}));
}

TEST(RunLoop, ShouldContinueFromRowZero_WhenTheCurrentRowIsDeleted) {
    Harness h({click_row(0, 10), click_row(1, 20), click_row(2, 30)});
    h.waiter.at_wait(2, [&] { h.steps.delete_row(1); });
    h.waiter.at_wait(6, [&] { h.runner.toggle_run(); });
    h.runner.toggle_run();

    // The pass began with three rows, so it still runs three steps before its pause.
    const Log expected = {click(0), wait(10), click(1), wait(20), click(0), wait(10), wait(1),
                          click(2), wait(30), click(0), wait(10), wait(1)};
    EXPECT_EQ(expected, only(h.log, {"click", "wait"}));
}

TEST(RunLoop, ShouldRunAnInsertedRowFromTheNextPass_TheSelectionMovingWithItsRow) {
    Harness h({click_row(0, 10), click_row(1, 20), click_row(2, 30)});
    h.waiter.at_wait(1, [&] {
        const int row = h.steps.insert_row(0);
        h.steps.set_cell_text(row, 0, click_row(7, 70).step_text);
        h.steps.set_cell_text(row, 1, "70");
    });
    h.waiter.at_wait(5, [&] { h.runner.toggle_run(); });
    h.runner.toggle_run();

    const Log expected = {click(0), wait(10), click(1), wait(20), click(2), wait(30), wait(1), click(7), wait(70),
                          wait(1)};
    EXPECT_EQ(expected, only(h.log, {"click", "wait"}));
}

TEST(RunLoop, ShouldIdleWithoutSending_WhenAllRowsAreDeletedMidPass) {
    Harness h({click_row(0, 10), click_row(1, 20), click_row(2, 30)});
    h.waiter.at_wait(1, [&] { h.steps.delete_all_rows(); });
    h.waiter.at_wait(5, [&] { h.runner.toggle_run(); });  // refused: the list is empty
    h.waiter.at_wait(6, [&] {
        h.steps = VectorStepList({click_row(7, 70)});
        h.runner.toggle_run();
    });
    h.runner.toggle_run();

    // The rest of the pass reads rows that are gone: empty steps, nothing sent, no delay.
    EXPECT_EQ((Log{click(0), wait(10), wait(0), wait(0), wait(1), wait(1), wait(1)}),
              only(h.log, {"click", "wait"}));
    EXPECT_EQ(3u, h.poster.posted.size());
    EXPECT_EQ((std::vector<unsigned>{kBeepInformation, kBeepDefault, kBeepDefault}), h.controls.beeps);
    EXPECT_FALSE(h.waiter.records[4].stop_after_action);
    EXPECT_FALSE(h.runner.is_running());
    EXPECT_TRUE(h.controls.target_list_enabled);
}

TEST(ToggleRun, ShouldEndBothLoops_WhenStoppedAndRestartedInsideOneDelay) {
    Harness h({click_row(0, 10), click_row(1, 20)});
    h.waiter.at_wait(1, [&] {
        h.runner.toggle_run();
        h.runner.toggle_run();  // runs nested, inside this delay
    });
    h.waiter.at_wait(2, [&] { h.runner.toggle_run(); });
    h.runner.toggle_run();

    // The nested run starts at row 0; once it is stopped the outer run sends nothing more.
    EXPECT_EQ((Log{click(0), wait(10), click(0), wait(10), wait(1), wait(1)}), only(h.log, {"click", "wait"}));
    EXPECT_EQ((std::vector<unsigned>{kBeepInformation, kBeepDefault, kBeepInformation, kBeepDefault}),
              h.controls.beeps);
    EXPECT_TRUE(h.waiter.records[0].stop_after_action);
    EXPECT_EQ(1, h.waiter.runs_started);
    EXPECT_EQ(1, h.waiter.runs_ended);
    EXPECT_EQ("run ended", h.log.back());
    EXPECT_FALSE(h.runner.is_running());
}

TEST(ToggleRun, ShouldBehaveAsOneRun_WhenStartedDuringTheLastPauseOfAStoppedRun) {
    Harness h({click_row(0, 10), click_row(1, 20)});
    h.waiter.at_wait(1, [&] { h.runner.toggle_run(); });
    h.waiter.at_wait(2, [&] { h.runner.toggle_run(); });
    h.waiter.at_wait(3, [&] { h.runner.toggle_run(); });
    h.runner.toggle_run();

    EXPECT_EQ((Log{click(0), wait(10), wait(1), click(0), wait(10), wait(1)}), only(h.log, {"click", "wait"}));
    EXPECT_TRUE(h.waiter.records[1].stop_at_entry);
    EXPECT_EQ(1, h.waiter.runs_started);
    EXPECT_EQ(1, h.waiter.runs_ended);
    EXPECT_FALSE(h.runner.is_running());
}

TEST(EndRun, ShouldReturnFromTheRunWithoutSendingOrTouchingControls) {
    Harness h({click_row(0, 10), click_row(1, 20)});
    h.waiter.at_wait(1, [&] { h.runner.end_run(); });
    h.runner.toggle_run();
    const Log tail_after_first_wait(h.log.begin() + 9, h.log.end());
    EXPECT_EQ(wait(10), h.log[8]);
    EXPECT_EQ((Log{wait(1), "run ended"}), tail_after_first_wait);
    EXPECT_TRUE(h.waiter.records[0].stop_after_action);
    EXPECT_FALSE(h.runner.is_running());

    // The window and its controls are gone: a late toggle (a queued hotkey) does nothing at all.
    const std::size_t logged = h.log.size();
    h.runner.toggle_run();
    EXPECT_EQ(logged, h.log.size());
}

TEST(EndRun, ShouldEndNestedAndOuterLoops_ReportingTheEndOfTheRunOnce) {
    Harness h({click_row(0, 10), click_row(1, 20)});
    h.waiter.at_wait(1, [&] {
        h.runner.toggle_run();
        h.runner.toggle_run();
    });
    h.waiter.at_wait(2, [&] { h.runner.end_run(); });
    h.runner.toggle_run();

    EXPECT_EQ((Log{click(0), wait(10), click(0), wait(10), wait(1), wait(1)}), only(h.log, {"click", "wait"}));
    EXPECT_EQ(1, h.waiter.runs_started);
    EXPECT_EQ(1, h.waiter.runs_ended);
    EXPECT_EQ((Log{"list off", "list on", "list off"}), only(h.log, {"list"}));
}

TEST(ToggleRun, ShouldOnlyBeep_WhenNoTargetIsChosenOrTheListIsEmpty) {
    struct Case {
        const char* name;
        std::string chosen;
        std::vector<ScriptStep> rows;
    };
    const Case cases[] = {
        {"no entry chosen", "", {click_row(0, 10)}},
        {"empty list", kAppEntry, {}},
    };
    for (const Case& c : cases) {
        Harness h(c.rows);
        h.controls.chosen = c.chosen;
        h.steps.set_current_row(0);
        const int selected_before = h.steps.current_row();
        h.runner.toggle_run();
        EXPECT_EQ((Log{"beep 0"}), h.log) << c.name;
        EXPECT_EQ(selected_before, h.steps.current_row()) << c.name;
        EXPECT_FALSE(h.runner.is_running()) << c.name;
        EXPECT_EQ(0, h.runner.target_hwnd()) << c.name;
    }
}

TEST(ToggleRun, ShouldRefuseAStop_WhenNoTargetIsChosenOrTheListIsEmpty) {
    Harness h({click_row(0, 10)});
    h.waiter.at_wait(1, [&] {
        h.controls.chosen.clear();
        h.runner.toggle_run();
    });
    h.waiter.at_wait(3, [&] {
        h.controls.chosen = kAppEntry;
        h.steps.delete_all_rows();
        h.runner.toggle_run();
    });
    h.waiter.at_wait(5, [&] {
        h.steps = VectorStepList({click_row(1, 10)});
        h.runner.toggle_run();
    });
    h.runner.toggle_run();

    EXPECT_EQ((Log{click(0), wait(10), wait(1), click(0), wait(10), wait(1), wait(1)}),
              only(h.log, {"click", "wait"}));
    EXPECT_EQ((std::vector<unsigned>{kBeepInformation, kBeepDefault, kBeepDefault, kBeepDefault}),
              h.controls.beeps);
    EXPECT_FALSE(h.waiter.records[0].stop_after_action);
    EXPECT_FALSE(h.waiter.records[2].stop_after_action);
    EXPECT_EQ(2u, only(h.log, {"caption"}).size());
    EXPECT_FALSE(h.runner.is_running());
}

TEST(ToggleRun, ShouldTakeTheTargetFromTheThirdPieceOfTheEntry_AndShowItInTheCaption) {
    struct Case {
        std::string entry;
        WindowId target;
        WindowId receiver;  // a target of 0 sends clicks to the desktop's icon list
    };
    const Case cases[] = {
        {kAppEntry, 4242, 4242},
        {"idle \xD8\xAD  \xD8\xAD -1", -1, -1},
        {"app.exe \xD8\xAD App \xD8\xAD zz", 0, 31337},
        {make_target_entry("a\xD8\xAD" "b.exe", "x \xD8\xAD y", 55), 55, 55},
        {make_target_entry("big.exe", "", -2147483647 - 1), -2147483647 - 1, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        Harness h({click_row(3, 10)});
        h.controls.chosen = c.entry;
        h.poster.desktop_window = 31337;
        h.waiter.at_wait(1, [&] { h.runner.toggle_run(); });
        h.runner.toggle_run();

        const std::string caption = "caption " + std::to_string(c.target);
        EXPECT_EQ(c.target, h.runner.target_hwnd()) << c.entry;
        EXPECT_EQ((Log{caption, caption}), only(h.log, {"caption"})) << c.entry;
        ASSERT_EQ(3u, h.poster.posted.size()) << c.entry;
        EXPECT_EQ(c.receiver, h.poster.posted[0].window) << c.entry;
    }
}

TEST(ExecuteStep, ShouldPostTheStepAndThenWaitItsDelay) {
    const std::string key = std::string(gbk::kKeyStepPrefix);
    const std::string mouse = std::string(gbk::kMouseStepPrefix);
    struct Case {
        std::string step_text;
        std::string delay_text;
        Log expected;
    };
    const Case cases[] = {
        {key + "\xBB\xD8\xB3\xB5\xBC\xFC", "1000", {"key 13", "keyup 13", wait(1000)}},  // 回车键
        {key + "NoSuchKey", "5", {"key 0", "keyup 0", wait(5)}},
        {mouse + "100,200", "250", {"move 100,200", "click 100,200", "release 100,200", wait(250)}},
        {mouse + "-1,5", "abc", {"move -1,5", "click -1,5", "release -1,5", wait(0)}},
        {mouse + "1,2", "-50", {"move 1,2", "click 1,2", "release 1,2", wait(-50)}},
        // Neither kind of step: read as a mouse step from its seventh byte on.
        {"abcdef12,34", "3", {"move 12,34", "click 12,34", "release 12,34", wait(3)}},
        // Fewer than two pieces: nothing is sent, the delay still paces the run.
        {mouse + "5", "40", {wait(40)}},
        {mouse + "5\xA3\xAC" "6", "40", {wait(40)}},  // the full-width comma does not separate
        {"", "", {wait(0)}},
    };
    for (const Case& c : cases) {
        Harness h({{c.step_text, c.delay_text}});
        h.waiter.at_wait(1, [&] { h.runner.toggle_run(); });
        h.runner.toggle_run();
        Log expected = c.expected;
        expected.push_back(wait(1));  // the pause that ends the stopped pass
        EXPECT_EQ(expected, only(h.log, {"key", "keyup", "move", "click", "release", "wait"})) << c.step_text;
        for (const testing::PostedMessage& m : h.poster.posted) EXPECT_EQ(4242, m.window) << c.step_text;
    }
}

TEST(OnRunHotkey, ShouldToggleOnlyForTheRegisteredIdentifier) {
    Harness h({click_row(0, 10)});
    h.runner.set_run_hotkey_id(33001);
    h.runner.on_run_hotkey(33002);
    EXPECT_TRUE(h.log.empty());

    h.waiter.at_wait(1, [&] {
        h.runner.on_run_hotkey(7);
        h.runner.on_run_hotkey(33001);
    });
    h.runner.on_run_hotkey(33001);
    EXPECT_EQ((std::vector<unsigned>{kBeepInformation, kBeepDefault}), h.controls.beeps);
    EXPECT_FALSE(h.runner.is_running());
}

}  // namespace
}  // namespace keyvora
