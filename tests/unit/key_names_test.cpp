#include "script/key_names.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <map>
#include <string>
#include <vector>

namespace keyvora {
namespace {

// The expected names are written in UTF-8 and turned into GBK by the C library's converter, so this
// table is independent of the GBK escapes in the implementation.
std::string gbk(const std::string& utf8) {
    iconv_t converter = iconv_open("GBK", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "no UTF-8 to GBK converter";
        return {};
    }
    std::string in = utf8;
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in_ptr = in.data();
    char* out_ptr = out.data();
    std::size_t in_left = in.size();
    std::size_t out_left = out.size();
    const std::size_t result = iconv(converter, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(converter);
    EXPECT_NE(static_cast<std::size_t>(-1), result) << utf8;
    out.resize(out.size() - out_left);
    return out;
}

struct KeyRow {
    std::string name_utf8;
    std::int32_t code;
};

std::vector<KeyRow> two_way_rows() {
    std::vector<KeyRow> rows = {{"Ctrl键", 0x11}, {"Shift键", 0x10}, {"Alt键", 0x12}};
    for (int n = 0; n <= 9; ++n)
        rows.push_back({"键" + std::to_string(n), 0x30 + n});
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        rows.push_back({std::string(1, letter) + "键", letter});
    for (int n = 1; n <= 16; ++n)
        rows.push_back({"F" + std::to_string(n) + "键", 0x6F + n});
    const std::vector<KeyRow> named = {
        {"Break键", 0x03},      {"回车键", 0x0D},     {"Pause键", 0x13},  {"CapsLock键", 0x14}, {"NumLock键", 0x90},
        {"ScrollLock键", 0x91}, {"Esc键", 0x1B},      {"空格键", 0x20},   {"PageUp键", 0x21},   {"PageDown键", 0x22},
        {"Home键", 0x24},       {"End键", 0x23},      {"左光标键", 0x25}, {"上光标键", 0x26},   {"右光标键", 0x27},
        {"下光标键", 0x28},     {"Ins键", 0x2D},      {"Del键", 0x2E},    {"分号键", 0xBA},     {"等号键", 0xBB},
        {"逗号键", 0xBC},       {"减号键", 0xBD},     {"圆点键", 0xBE},   {"除号键", 0xBF},     {"反撇号键", 0xC0},
        {"左中括号键", 0xDB},   {"右中括号键", 0xDD}, {"斜杠键", 0xDC},   {"单引号键", 0xDE},   {"乘号键", 0x6A},
        {"加号键", 0x6B},       {"<无>", 0x08},       {"TAB键", 0x09}};
    rows.insert(rows.end(), named.begin(), named.end());
    return rows;
}

TEST(KeyNameTable, EveryTwoWayRowHoldsInBothDirections) {
    for (const KeyRow& row : two_way_rows()) {
        const std::string name = gbk(row.name_utf8);
        EXPECT_EQ(row.code, key_code_from_name(name)) << row.name_utf8;
        EXPECT_EQ(name, key_name_from_code(row.code)) << row.name_utf8;
    }
}

TEST(KeyNameTable, KeypadDigitsTakeTheMainDigitNames) {
    for (int n = 0; n <= 9; ++n) {
        const std::string name = key_name_from_code(0x60 + n);
        EXPECT_EQ(gbk("键" + std::to_string(n)), name);
        EXPECT_EQ(0x30 + n, key_code_from_name(name));
    }
}

TEST(KeyNameTable, GraveAccentCharacterNamesTheGraveAccentKey) {
    EXPECT_EQ(0xC0, key_code_from_name("`"));
    EXPECT_EQ(gbk("反撇号键"), key_name_from_code(0xC0));
}

TEST(KeyNameTable, CodesOutsideTheTableGiveTheEmptyName) {
    std::map<std::int32_t, std::string> expected;
    for (const KeyRow& row : two_way_rows())
        expected[row.code] = gbk(row.name_utf8);
    for (int n = 0; n <= 9; ++n)
        expected[0x60 + n] = gbk("键" + std::to_string(n));
    for (std::int32_t code = -300; code <= 0x300; ++code) {
        const auto it = expected.find(code);
        EXPECT_EQ(it == expected.end() ? std::string{} : it->second, key_name_from_code(code)) << "code " << code;
    }
    EXPECT_EQ("", key_name_from_code(0x141));  // a code is not cut to its low byte
    EXPECT_EQ("", key_name_from_code(INT32_MIN));
}

TEST(KeyNameTable, NamesMatchExactlyBytewise) {
    const std::vector<std::string> not_names = {"a键",    "Ａ键",  "A 键",  "A键 ",  " A键", "ctrl键",
                                                "CTRL键", "Tab键", "7键",   "键",    "A",    "``",
                                                "<无",    "键10",  "F17键", "Enter", ""};
    for (const std::string& utf8 : not_names)
        EXPECT_EQ(0, key_code_from_name(gbk(utf8))) << utf8;
    EXPECT_EQ(0, key_code_from_name(std::string("A\xBC\xFC\0", 4)));
    EXPECT_EQ(0, key_code_from_name("\xBC"));
}

}  // namespace
}  // namespace keyvora
