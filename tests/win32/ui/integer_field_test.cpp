#include "ui/integer_field.h"

#include <gtest/gtest.h>

#include <string>

#include "ui_test_support.h"
#include "win32/window_text.h"

namespace keyvora::ui {
namespace {

class IntegerField : public ::testing::Test {
protected:
    void SetUp() override {
        parent_ = testing::make_parent_window();
        edit_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_LEFT | ES_AUTOHSCROLL, 10,
                                  10, 84, 20, parent_.get(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, edit_);
        make_integer_field(edit_);
    }

    void type(std::wstring_view characters) {
        for (wchar_t character : characters) ::SendMessageW(edit_, WM_CHAR, character, 1);
    }
    std::string text() const { return win32::window_text(edit_); }

    win32::unique_window parent_;
    HWND edit_ = nullptr;
};

TEST_F(IntegerField, TypedDigitsAndMinusAreKeptEverythingElseDropped) {
    type(L"a5 -.x9\x2014\xFF15");  // letters, blank, point, a dash and a full-width digit dropped
    EXPECT_EQ("5-9", text());
}

TEST_F(IntegerField, ControlCharactersPass) {
    type(L"123\b");
    EXPECT_EQ("12", text());
}

TEST_F(IntegerField, TypingStopsAtFiveCharacters) {
    type(L"99999");
    EXPECT_EQ("99999", text());
    type(L"1");
    EXPECT_EQ("99999", text());
}

TEST_F(IntegerField, TextSetByTheProgramIsNeitherFilteredNorCut) {
    ::SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"abc123"));
    EXPECT_EQ("abc123", text());
}

TEST_F(IntegerField, AcceptsOnlyDigitsMinusAndControlCodes) {
    for (WPARAM code = 0; code < 0x100; ++code) {
        const bool expected = code < 32 || (code >= '0' && code <= '9') || code == '-';
        EXPECT_EQ(expected, integer_field_accepts(code)) << "code " << code;
    }
}

}  // namespace
}  // namespace keyvora::ui
