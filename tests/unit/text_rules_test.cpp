#include "script/text_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/gbk_text.h"

namespace keyvora {
namespace {

using Pieces = std::vector<std::string>;

TEST(FirstAndLastBytes, CountBytesAndClampToTheText) {
    const std::string text = "\xB0\xB4\x61\x62";  // 按ab
    EXPECT_EQ("", first_bytes(text, 0));
    EXPECT_EQ("", first_bytes(text, -3));
    EXPECT_EQ("\xB0", first_bytes(text, 1));  // a byte count may cut a character
    EXPECT_EQ(text, first_bytes(text, 4));
    EXPECT_EQ(text, first_bytes(text, 1LL << 40));
    EXPECT_EQ("", last_bytes(text, 0));
    EXPECT_EQ("", last_bytes(text, -1));
    EXPECT_EQ("\xB4\x61\x62", last_bytes(text, 3));
    EXPECT_EQ(text, last_bytes(text, 99));
    EXPECT_EQ("", first_bytes("", 5));
    EXPECT_EQ("", last_bytes("", 5));
}

struct SplitCase {
    std::string text;
    std::string separator;
    Pieces pieces;
};

// Names the case by its input in ctest and in failure messages.
void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text) << " at " << ::testing::PrintToString(c.separator);
}

class SplitText : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitText, GivesThePiecesOfTheCharacterBoundaryScan) {
    EXPECT_EQ(GetParam().pieces, split_text(GetParam().text, GetParam().separator));
}

const std::string kBar(gbk::kPieceSeparator);  // 丨, D8 AD

INSTANTIATE_TEST_SUITE_P(
    Cases,
    SplitText,
    ::testing::Values(SplitCase{"", ",", {}},
                      SplitCase{"a", ",", {"a"}},
                      SplitCase{"a,b", ",", {"a", "b"}},
                      SplitCase{"a,,b", ",", {"a", "", "b"}},
                      SplitCase{",a", ",", {"", "a"}},
                      SplitCase{"a,", ",", {"a"}},  // empty last piece dropped
                      SplitCase{"a,b,", ",", {"a", "b"}},
                      SplitCase{",", ",", {""}},  // the piece before the separator counts
                      SplitCase{",,", ",", {"", ""}},
                      SplitCase{"a\r\n\r\nb\r\n", "\r\n", {"a", "", "b"}},
                      SplitCase{"a\nb\rc", "\r\n", {"a\nb\rc"}},
                      SplitCase{"x" + kBar + "y" + kBar + "z", kBar, {"x", "y", "z"}},
                      // B0 D8 is one character, so the D8 AD pair that follows B0 is no separator.
                      SplitCase{"\xB0\xD8\xAD", kBar, {"\xB0\xD8\xAD"}},
                      SplitCase{"\xB0\xB0" + kBar + "1", kBar, {"\xB0\xB0", "1"}},
                      // A lead byte takes an ASCII byte along: the comma after it is not a separator.
                      SplitCase{"\xB0,1,2", ",", {"\xB0,1", "2"}},
                      SplitCase{"a,\xB0", ",", {"a", "\xB0"}},  // lone lead byte at the end
                      SplitCase{"\xB0", ",", {"\xB0"}},
                      SplitCase{"abc", "", {"abc"}},
                      SplitCase{"", "", {}}));

struct FindCase {
    std::string text;
    std::string needle;
    std::size_t position;
};

// Names the case by its input in ctest and in failure messages.
void PrintTo(const FindCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text) << " for " << ::testing::PrintToString(c.needle);
}

class FindText : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindText, FindsTheFirstMatchThatBeginsOnACharacterBoundary) {
    EXPECT_EQ(GetParam().position, find_text(GetParam().text, GetParam().needle));
}

constexpr auto npos = std::string::npos;

INSTANTIATE_TEST_SUITE_P(Cases,
                         FindText,
                         ::testing::Values(FindCase{"mini", "ini", 1},
                                           FindCase{"a.INI", "ini", npos},
                                           FindCase{"\xB0ini", "ini", npos},  // B0 69 is one character
                                           FindCase{"\xB0\xB0ini", "ini", 2},
                                           FindCase{"\xB0iini", "ini", 2},
                                           FindCase{"ab", "abc", npos},
                                           FindCase{"", "ini", npos},
                                           FindCase{"abc", "", 0},
                                           FindCase{"\xD8\xAD\xD8\xAD", "\xAD\xD8", npos}));

TEST(ReplaceText, ReplacesOnlyMatchesOnCharacterBoundaries) {
    EXPECT_EQ("a|b|", replace_text("a" + kBar + "b" + kBar, kBar, "|"));
    EXPECT_EQ("\xB0\xD8\xAD", replace_text("\xB0\xD8\xAD", kBar, "|"));
    EXPECT_EQ("ba", replace_text("aaa", "aa", "b"));
    EXPECT_EQ("x--y", replace_text("x,y", ",", "--"));
    EXPECT_EQ("abc", replace_text("abc", "", "z"));
    EXPECT_EQ("\xB0", replace_text("\xB0", ",", "."));
}

}  // namespace
}  // namespace keyvora
