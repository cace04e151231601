#include <gtest/gtest.h>

#include <string>

#include "adapters/win32_test_support.h"
#include "win32/gbk_convert.h"
#include "win32/window_text.h"

namespace keyvora::win32 {
namespace {

struct RoundTrip {
    const char* label;
    std::string gbk;
    std::wstring wide;
};

// Fixed GBK bytes and their UTF-16, so the outcome does not hang on the machine's code page.
const RoundTrip kRoundTrips[] = {
    {"empty", "", L""},
    {"ascii", "Keyvora 1.0\r\n", L"Keyvora 1.0\r\n"},
    {"key step", "\xB0\xB4\xBC\xFC\xA3\xBA\xBB\xD8\xB3\xB5\xBC\xFC",
     L"\u6309\u952E\uFF1A\u56DE\u8F66\u952E"},                                  // 按键：回车键
    {"entry separator", " \xD8\xAD 12 \xD8\xAD -1", L" \u4E28 12 \u4E28 -1"},   // " 丨 12 丨 -1"
    {"mouse step", "\xCA\xF3\xB1\xEA\xA3\xBA-1,5", L"\u9F20\u6807\uFF1A-1,5"},  // 鼠标：-1,5
    {"GBK extension", "\x81\x40\x81\x41\xA8\xA6", L"\u4E02\u4E04\u00E9"},       // 丂丄é
};

TEST(GbkConvert, ConvertsFixedTextsBothWays) {
    for (const RoundTrip& c : kRoundTrips) {
        EXPECT_EQ(c.wide, to_wide(c.gbk)) << c.label;
        EXPECT_EQ(c.gbk, to_gbk(c.wide)) << c.label;
    }
}

TEST(GbkConvert, KeepsLongTextsWhole) {
    std::string gbk;
    std::wstring wide;
    for (int i = 0; i < 50000; ++i) {
        gbk +=
            "\xD8\xAD"
            "a";
        wide += L"\u4E28a";
    }
    EXPECT_EQ(wide, to_wide(gbk));
    EXPECT_EQ(gbk, to_gbk(wide));
}

TEST(GbkConvert, WritesQuestionMarkForCharactersGbkLacks) {
    // Hangul is not in GBK; without best fit it must not turn into some other character.
    EXPECT_EQ("a?b", to_gbk(L"a\uD55Cb"));
}

TEST(WindowText, SetsAndReadsGbkThroughTheWideFunctions) {
    testing::ProbeWindow window(nullptr);
    ASSERT_NE(nullptr, window.get());
    const std::string caption = "\xB0\xB4\xBC\xFC\xBC\xC7\xC2\xBC \xD8\xAD 42";  // 按键记录 丨 42
    set_window_text(window.get(), caption);

    wchar_t wide[64] = {};
    ::GetWindowTextW(window.get(), wide, 64);
    EXPECT_EQ(std::wstring(L"\u6309\u952E\u8BB0\u5F55 \u4E28 42"), wide);
    EXPECT_EQ(caption, window_text(window.get()));

    set_window_text(window.get(), "");
    EXPECT_EQ("", window_text(window.get()));
}

}  // namespace
}  // namespace keyvora::win32
