#include "script/script_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/gbk_text.h"
#include "vector_step_list.h"

namespace keyvora {

// Readable rows in failure messages (found by argument-dependent lookup).
static void PrintTo(const ScriptStep& row, std::ostream* os) {
    *os << "{" << ::testing::PrintToString(row.step_text) << ", " << ::testing::PrintToString(row.delay_text) << "}";
}

namespace {

using Rows = std::vector<ScriptStep>;

const std::string kBar(gbk::kPieceSeparator);                                       // 丨
const std::string kEnterStep = "\xB0\xB4\xBC\xFC\xA3\xBA\xBB\xD8\xB3\xB5\xBC\xFC";  // 按键：回车键

TEST(EncodeScript, WritesOneLinePerRowWithSeparatorAndCrLf) {
    const std::string bytes = encode_script({{kEnterStep, "1000"}});
    EXPECT_EQ(20u, bytes.size());
    EXPECT_EQ(kEnterStep + std::string("\xD8\xAD") + "1000\r\n", bytes);
    EXPECT_EQ("", encode_script({}));
    EXPECT_EQ(" a " + kBar + " 1 \r\n" + kBar + "\r\n", encode_script({{" a ", " 1 "}, {"", ""}}));
}

struct DecodeCase {
    std::string name;
    std::string bytes;
    Rows rows;
};

class DecodeScript : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeScript, GivesTheRowsOfTheSplitRules) {
    EXPECT_EQ(GetParam().rows, decode_script(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Cases,
    DecodeScript,
    ::testing::Values(
        DecodeCase{"Empty", "", {}},
        DecodeCase{"OneRow", kEnterStep + kBar + "1000\r\n", {{kEnterStep, "1000"}}},
        DecodeCase{"NoFinalLineEnd", "a" + kBar + "1\r\nb" + kBar + "2", {{"a", "1"}, {"b", "2"}}},
        DecodeCase{"LfOnlyIsOneLine", "a" + kBar + "1\nb" + kBar + "2\n", {{"a", "1\nb"}}},
        DecodeCase{"LoneCrIsAFieldByte", "a\r" + kBar + "1\r\n", {{"a\r", "1"}}},
        DecodeCase{"CutAtZeroByte",
                   "a" + kBar + "1\r\nb" + std::string(1, '\0') + kBar + "2\r\nc" + kBar + "3\r\n",
                   {{"a", "1"}, {"b", ""}}},
        DecodeCase{"ZeroByteFirst", std::string(1, '\0') + "a" + kBar + "1\r\n", {}},
        DecodeCase{"FurtherPiecesDropped", "x" + kBar + "y" + kBar + "1000\r\n", {{"x", "y"}}},
        DecodeCase{"LeadingSeparator", kBar + "1000\r\n", {{"", "1000"}}},
        DecodeCase{"NoSeparator", "abc\r\n", {{"abc", ""}}},
        DecodeCase{"EmptyDelay", "abc" + kBar + "\r\n", {{"abc", ""}}},
        DecodeCase{"EmptyLineInTheMiddle",
                   "a" + kBar + "1\r\n\r\nb" + kBar + "2\r\n",
                   {{"a", "1"}, {"", ""}, {"b", "2"}}},
        DecodeCase{"OnlyALineEnd", "\r\n", {{"", ""}}},
        DecodeCase{"BlanksKept", " a " + kBar + " 1 \r\n", {{" a ", " 1 "}}},
        // B0 D8 is one character: the following AD 31 is no separator.
        DecodeCase{"SeparatorAcrossABoundary", "\xB0\xD8\xAD\x31\r\n", {{"\xB0\xD8\xAD\x31", ""}}},
        // A lead byte at a field's end takes the CR along, so the line goes on into the next one.
        DecodeCase{"LeadByteBeforeLineEnd", "a" + kBar + "\xB0\r\nb" + kBar + "2\r\n", {{"a", "\xB0\r\nb"}}}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(ScriptFileRoundTrip, RowsComeBackByteForByte) {
    const Rows rows = {
        {kEnterStep, "1000"},      {std::string("\xCA\xF3\xB1\xEA\xA3\xBA") + "640,480", "250"},  // 鼠标：640,480
        {" spaced  text ", " 0 "}, {"\xCA\xF3\xB1\xEA\xA3\xBA", "-5"},
        {"a\rb\nc", "1\n"},        {"", ""}};
    EXPECT_EQ(rows, decode_script(encode_script(rows)));
}

TEST(StepListRows, ReplaceRowsEmptiesTheListAndAppendsInOrderUnselected) {
    testing::VectorStepList list({{"old", "1"}, {"older", "2"}, {"oldest", "3"}});
    list.set_current_row(1);
    const Rows rows = {{"a", "10"}, {"b", ""}};
    replace_rows(list, rows);
    EXPECT_EQ(rows, list.rows());
    EXPECT_EQ(-1, list.current_row());
    EXPECT_EQ(rows, rows_of(list));

    replace_rows(list, {});
    EXPECT_EQ(0, list.row_count());
    EXPECT_EQ(Rows{}, rows_of(list));
}

struct SaveNameCase {
    std::string chosen;
    std::string saved;
};

// Names the case by its input in ctest and in failure messages.
void PrintTo(const SaveNameCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.chosen);
}

class SaveFileName : public ::testing::TestWithParam<SaveNameCase> {};

TEST_P(SaveFileName, AppendsIniOnlyWhenThePathLacksIt) {
    EXPECT_EQ(GetParam().saved, save_file_name(GetParam().chosen));
}

INSTANTIATE_TEST_SUITE_P(Cases,
                         SaveFileName,
                         ::testing::Values(SaveNameCase{"C:\\s\\run", "C:\\s\\run.ini"},
                                           SaveNameCase{"C:\\s\\run.ini", "C:\\s\\run.ini"},
                                           SaveNameCase{"C:\\s\\run.INI", "C:\\s\\run.INI.ini"},
                                           SaveNameCase{"C:\\mini\\run", "C:\\mini\\run"},
                                           SaveNameCase{"C:\\s\\run.ini.bak", "C:\\s\\run.ini.bak"},
                                           SaveNameCase{"C:\\s\\run.in", "C:\\s\\run.in.ini"},
                                           // B0 69 is one character, so its i cannot begin "ini".
                                           SaveNameCase{"C:\\\xB0ini", "C:\\\xB0ini.ini"},
                                           SaveNameCase{"C:\\\xB0\xB0ini", "C:\\\xB0\xB0ini"},
                                           SaveNameCase{"", ".ini"}));

}  // namespace
}  // namespace keyvora
