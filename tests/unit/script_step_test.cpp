#include "script/script_step.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "script/gbk_text.h"

namespace keyvora {

// Readable points in failure messages (found by argument-dependent lookup).
static void PrintTo(const MousePoint& point, std::ostream* os) {
    *os << "(" << point.x << ", " << point.y << ")";
}

namespace {

const std::string kKeyPrefix(gbk::kKeyStepPrefix);      // 按键：
const std::string kMousePrefix(gbk::kMouseStepPrefix);  // 鼠标：

struct KindCase {
    std::string text;
    bool key_step;
    std::string payload;
};

// Names the case by its input in ctest and in failure messages.
void PrintTo(const KindCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text);
}

class StepKindAndPayload : public ::testing::TestWithParam<KindCase> {};

TEST_P(StepKindAndPayload, FollowTheFirstFourAndSixBytes) {
    EXPECT_EQ(GetParam().key_step, is_key_step(GetParam().text));
    EXPECT_EQ(GetParam().payload, step_payload(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Cases,
                         StepKindAndPayload,
                         ::testing::Values(KindCase{kKeyPrefix + "\xBB\xD8\xB3\xB5\xBC\xFC", true,
                                                    "\xBB\xD8\xB3\xB5\xBC\xFC"},  // 回车键
                                           KindCase{kKeyPrefix, true, ""},
                                           KindCase{"\xB0\xB4\xBC\xFCX", true, ""},  // 按键X: 5 bytes
                                           KindCase{"\xB0\xB4\xBC\xFC:A"
                                                    "\xBC\xFC",
                                                    true, "\xBC\xFC"},              // ASCII colon: 按键:A键
                                           KindCase{"\xB0\xB4\xBC\xFC", true, ""},  // 按键
                                           KindCase{"\xB0\xB4", false, ""},         // 按
                                           KindCase{"\xB0\xB4\xBC", false, ""},
                                           KindCase{"", false, ""},
                                           KindCase{kMousePrefix + "640,480", false, "640,480"},
                                           KindCase{"abcdefg", false, "g"}));

struct PointCase {
    std::string payload;
    std::optional<MousePoint> point;
};

// Names the case by its input in ctest and in failure messages.
void PrintTo(const PointCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.payload);
}

class ReadMousePoint : public ::testing::TestWithParam<PointCase> {};

TEST_P(ReadMousePoint, ReadsTheFirstTwoCommaPieces) {
    EXPECT_EQ(GetParam().point, read_mouse_point(GetParam().payload)) << GetParam().payload;
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    ReadMousePoint,
    ::testing::Values(PointCase{"640,480", MousePoint{640, 480}},
                      PointCase{"12,34,56", MousePoint{12, 34}},
                      PointCase{",5", MousePoint{0, 5}},
                      PointCase{" 12 , 34 ", MousePoint{12, 34}},
                      PointCase{"-15,7", MousePoint{-15, 7}},
                      PointCase{"1e3,2.9", MousePoint{1000, 2}},
                      PointCase{",,", MousePoint{0, 0}},
                      PointCase{"\xA3\xB1\xA3\xB2,\xA3\xB3\xA3\xB4", MousePoint{12, 34}},  // １２,３４
                      PointCase{std::string("12\xA3\xAC") + "34", std::nullopt},  // full-width comma is no separator
                      PointCase{"\xB0,5", std::nullopt},  // the comma is the trail byte of B0 2C
                      PointCase{"5,", std::nullopt},
                      PointCase{"5", std::nullopt},
                      PointCase{"", std::nullopt}));

TEST(MakeStepText, PutsThePrefixBeforeThePayload) {
    EXPECT_EQ(kKeyPrefix + "A\xBC\xFC", make_key_step_text("A\xBC\xFC"));  // 按键：A键
    EXPECT_EQ(kMousePrefix + "640,480", make_mouse_step_text("640", "480"));
    EXPECT_EQ(kMousePrefix + ",7", make_mouse_step_text("", "7"));
}

TEST(MakeStepText, ReadsBackAsTheSameStep) {
    const std::string key_text = make_key_step_text("Esc\xBC\xFC");
    EXPECT_TRUE(is_key_step(key_text));
    EXPECT_EQ("Esc\xBC\xFC", step_payload(key_text));

    const std::string mouse_text = make_mouse_step_text("-15", "2147483647");
    EXPECT_FALSE(is_key_step(mouse_text));
    EXPECT_EQ((MousePoint{-15, 2147483647}), read_mouse_point(step_payload(mouse_text)));
}

}  // namespace
}  // namespace keyvora
