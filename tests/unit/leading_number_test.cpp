#include "script/leading_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace keyvora {
namespace {

struct NumberCase {
    std::string text;
    double value;
};

// Names the case by its input in ctest and in failure messages.
void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text);
}

class ReadLeadingNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ReadLeadingNumber, ReadsTheLongestNumberPrefix) {
    EXPECT_EQ(GetParam().value, read_leading_number(GetParam().text)) << "text: " << GetParam().text;
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Grammar,
                         ReadLeadingNumber,
                         ::testing::Values(NumberCase{"1000", 1000},
                                           NumberCase{"2.9", 2.9},
                                           NumberCase{"-2.9", -2.9},
                                           NumberCase{"+7", 7},
                                           NumberCase{".5", 0.5},
                                           NumberCase{"-.5", -0.5},
                                           NumberCase{"5.", 5},
                                           NumberCase{"5.x", 5},
                                           NumberCase{"1e3", 1000},
                                           NumberCase{"1E3", 1000},
                                           NumberCase{"1d2", 100},
                                           NumberCase{"1D-2", 0.01},
                                           NumberCase{"2.5e+1", 25},
                                           NumberCase{"1e", 1},  // marker without digits is not part of the prefix
                                           NumberCase{"1e+", 1},
                                           NumberCase{"1ex3", 1},
                                           NumberCase{"+", 0},
                                           NumberCase{"-", 0},
                                           NumberCase{".", 0},
                                           NumberCase{".e1", 0},
                                           NumberCase{"+-1", 0},
                                           NumberCase{"abc", 0},
                                           NumberCase{"", 0},
                                           NumberCase{"1.2.3", 1.2},
                                           NumberCase{"1,5", 1},   // no locale: the comma is no decimal point
                                           NumberCase{"0x10", 0},  // no hex
                                           NumberCase{"inf", 0},   // no inf or nan words
                                           NumberCase{"nan", 0},
                                           NumberCase{"007", 7},
                                           NumberCase{"0.001e3", 1},
                                           NumberCase{" \t\n\v\f\r42ms", 42},
                                           NumberCase{"x 42", 0},
                                           NumberCase{std::string{'1', '\0', '2'}, 1},
                                           NumberCase{"0.1", 0.1},
                                           NumberCase{"123456789012345678901234567890",
                                                      123456789012345678901234567890.0},
                                           NumberCase{"9007199254740993", 9007199254740992.0},  // ties to even
                                           NumberCase{"1" + std::string(400, '0') + "e-400", 1},
                                           NumberCase{"0." + std::string(400, '0') + "1e401", 1},
                                           NumberCase{"1e400", kInf},
                                           NumberCase{"-1e400", -kInf},
                                           NumberCase{"1e-400", 0},
                                           NumberCase{"1e99999999999999999999999", kInf},
                                           NumberCase{"1e-99999999999999999999999", 0},
                                           NumberCase{"0e99999999999999999999999", 0},
                                           NumberCase{"4.9e-324", 4.9e-324}));

// Full-width forms (A3 A1..A3 FE) read as ASCII, the ideographic space (A1 A1) as a space.
INSTANTIATE_TEST_SUITE_P(GbkForms,
                         ReadLeadingNumber,
                         ::testing::Values(NumberCase{"\xA3\xB1\xA3\xB2", 12},            // １２
                                           NumberCase{"\xA3\xAD\xA3\xB3", -3},            // －３
                                           NumberCase{"\xA3\xB1\xA3\xAE\xA3\xB5", 1.5},   // １．５
                                           NumberCase{"\xA3\xB1\xA3\xE5\xA3\xB3", 1000},  // １ｅ３
                                           NumberCase{"\xA1\xA1\xA1\xA1\x37", 7},         // two ideographic spaces, 7
                                           NumberCase{"\xA3\xA0\x37", 0},  // A0 is outside the mapped trail range
                                           NumberCase{"\xB0\x35", 0},      // a Chinese character first
                                           NumberCase{"4\xA3", 4},         // lone lead byte at the end
                                           NumberCase{"\xA3", 0}));

struct IntCase {
    std::string text;
    std::int32_t value;
};

// Names the case by its input in ctest and in failure messages.
void PrintTo(const IntCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.text);
}

class ReadLeadingInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(ReadLeadingInt, TruncatesAndKeepsTheLow32Bits) {
    EXPECT_EQ(GetParam().value, read_leading_int(GetParam().text)) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases,
                         ReadLeadingInt,
                         ::testing::Values(IntCase{"2.9", 2},
                                           IntCase{"-2.9", -2},
                                           IntCase{"1e3", 1000},
                                           IntCase{"abc", 0},
                                           IntCase{"2147483647", 2147483647},
                                           IntCase{"2147483648", -2147483647 - 1},
                                           IntCase{"4294967295", -1},
                                           IntCase{"4294967297", 1},
                                           IntCase{"-2147483649", 2147483647},
                                           IntCase{"9223372036854774784", -1024},  // largest double below 2^63
                                           IntCase{"9223372036854775807", 0},      // rounds to 2^63: outside
                                           IntCase{"-9223372036854771712", 4096},
                                           IntCase{"1e19", 0},
                                           IntCase{"1e400", 0},
                                           IntCase{"-1e400", 0}));

TEST(NumberToInt32, GivesZeroOutsideTheSigned64BitRange) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    EXPECT_EQ(0, number_to_int32(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(0, number_to_int32(kInf));
    EXPECT_EQ(0, number_to_int32(-kInf));
    EXPECT_EQ(0, number_to_int32(kTwoTo63));
    EXPECT_EQ(0, number_to_int32(std::nextafter(-kTwoTo63, -kInf)));
    EXPECT_EQ(0, number_to_int32(-kTwoTo63));  // in range; its low 32 bits are 0
    EXPECT_EQ(-1024, number_to_int32(std::nextafter(kTwoTo63, 0.0)));
    EXPECT_EQ(0, number_to_int32(-0.0));
    EXPECT_EQ(0, number_to_int32(0.999));
    EXPECT_EQ(0, number_to_int32(-0.999));
}

}  // namespace
}  // namespace keyvora
