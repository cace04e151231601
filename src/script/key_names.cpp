#include "script/key_names.h"

#include <array>

namespace keyvora {

namespace {

struct KeyRow {
    std::string_view name;  // GBK
    std::int32_t code;      // Win32 virtual-key code
};

// Rows that hold both ways: the name gives the code and the code gives the name back.
constexpr std::array<KeyRow, 88> kTwoWayRows{{
    {"Ctrl\xBC\xFC", 0x11},                              // Ctrl键
    {"Shift\xBC\xFC", 0x10},                             // Shift键
    {"Alt\xBC\xFC", 0x12},                               // Alt键
    {"\xBC\xFC\x30", 0x30},                              // 键0
    {"\xBC\xFC\x31", 0x31},                              // 键1
    {"\xBC\xFC\x32", 0x32},                              // 键2
    {"\xBC\xFC\x33", 0x33},                              // 键3
    {"\xBC\xFC\x34", 0x34},                              // 键4
    {"\xBC\xFC\x35", 0x35},                              // 键5
    {"\xBC\xFC\x36", 0x36},                              // 键6
    {"\xBC\xFC\x37", 0x37},                              // 键7
    {"\xBC\xFC\x38", 0x38},                              // 键8
    {"\xBC\xFC\x39", 0x39},                              // 键9
    {"A\xBC\xFC", 0x41},                                 // A键
    {"B\xBC\xFC", 0x42},                                 // B键
    {"C\xBC\xFC", 0x43},                                 // C键
    {"D\xBC\xFC", 0x44},                                 // D键
    {"E\xBC\xFC", 0x45},                                 // E键
    {"F\xBC\xFC", 0x46},                                 // F键
    {"G\xBC\xFC", 0x47},                                 // G键
    {"H\xBC\xFC", 0x48},                                 // H键
    {"I\xBC\xFC", 0x49},                                 // I键
    {"J\xBC\xFC", 0x4A},                                 // J键
    {"K\xBC\xFC", 0x4B},                                 // K键
    {"L\xBC\xFC", 0x4C},                                 // L键
    {"M\xBC\xFC", 0x4D},                                 // M键
    {"N\xBC\xFC", 0x4E},                                 // N键
    {"O\xBC\xFC", 0x4F},                                 // O键
    {"P\xBC\xFC", 0x50},                                 // P键
    {"Q\xBC\xFC", 0x51},                                 // Q键
    {"R\xBC\xFC", 0x52},                                 // R键
    {"S\xBC\xFC", 0x53},                                 // S键
    {"T\xBC\xFC", 0x54},                                 // T键
    {"U\xBC\xFC", 0x55},                                 // U键
    {"V\xBC\xFC", 0x56},                                 // V键
    {"W\xBC\xFC", 0x57},                                 // W键
    {"X\xBC\xFC", 0x58},                                 // X键
    {"Y\xBC\xFC", 0x59},                                 // Y键
    {"Z\xBC\xFC", 0x5A},                                 // Z键
    {"F1\xBC\xFC", 0x70},                                // F1键
    {"F2\xBC\xFC", 0x71},                                // F2键
    {"F3\xBC\xFC", 0x72},                                // F3键
    {"F4\xBC\xFC", 0x73},                                // F4键
    {"F5\xBC\xFC", 0x74},                                // F5键
    {"F6\xBC\xFC", 0x75},                                // F6键
    {"F7\xBC\xFC", 0x76},                                // F7键
    {"F8\xBC\xFC", 0x77},                                // F8键
    {"F9\xBC\xFC", 0x78},                                // F9键
    {"F10\xBC\xFC", 0x79},                               // F10键
    {"F11\xBC\xFC", 0x7A},                               // F11键
    {"F12\xBC\xFC", 0x7B},                               // F12键
    {"F13\xBC\xFC", 0x7C},                               // F13键
    {"F14\xBC\xFC", 0x7D},                               // F14键
    {"F15\xBC\xFC", 0x7E},                               // F15键
    {"F16\xBC\xFC", 0x7F},                               // F16键
    {"Break\xBC\xFC", 0x03},                             // Break键
    {"\xBB\xD8\xB3\xB5\xBC\xFC", 0x0D},                  // 回车键
    {"Pause\xBC\xFC", 0x13},                             // Pause键
    {"CapsLock\xBC\xFC", 0x14},                          // CapsLock键
    {"NumLock\xBC\xFC", 0x90},                           // NumLock键
    {"ScrollLock\xBC\xFC", 0x91},                        // ScrollLock键
    {"Esc\xBC\xFC", 0x1B},                               // Esc键
    {"\xBF\xD5\xB8\xF1\xBC\xFC", 0x20},                  // 空格键
    {"PageUp\xBC\xFC", 0x21},                            // PageUp键
    {"PageDown\xBC\xFC", 0x22},                          // PageDown键
    {"Home\xBC\xFC", 0x24},                              // Home键
    {"End\xBC\xFC", 0x23},                               // End键
    {"\xD7\xF3\xB9\xE2\xB1\xEA\xBC\xFC", 0x25},          // 左光标键
    {"\xC9\xCF\xB9\xE2\xB1\xEA\xBC\xFC", 0x26},          // 上光标键
    {"\xD3\xD2\xB9\xE2\xB1\xEA\xBC\xFC", 0x27},          // 右光标键
    {"\xCF\xC2\xB9\xE2\xB1\xEA\xBC\xFC", 0x28},          // 下光标键
    {"Ins\xBC\xFC", 0x2D},                               // Ins键
    {"Del\xBC\xFC", 0x2E},                               // Del键
    {"\xB7\xD6\xBA\xC5\xBC\xFC", 0xBA},                  // 分号键
    {"\xB5\xC8\xBA\xC5\xBC\xFC", 0xBB},                  // 等号键
    {"\xB6\xBA\xBA\xC5\xBC\xFC", 0xBC},                  // 逗号键
    {"\xBC\xF5\xBA\xC5\xBC\xFC", 0xBD},                  // 减号键
    {"\xD4\xB2\xB5\xE3\xBC\xFC", 0xBE},                  // 圆点键
    {"\xB3\xFD\xBA\xC5\xBC\xFC", 0xBF},                  // 除号键
    {"\xB7\xB4\xC6\xB2\xBA\xC5\xBC\xFC", 0xC0},          // 反撇号键
    {"\xD7\xF3\xD6\xD0\xC0\xA8\xBA\xC5\xBC\xFC", 0xDB},  // 左中括号键
    {"\xD3\xD2\xD6\xD0\xC0\xA8\xBA\xC5\xBC\xFC", 0xDD},  // 右中括号键
    {"\xD0\xB1\xB8\xDC\xBC\xFC", 0xDC},                  // 斜杠键
    {"\xB5\xA5\xD2\xFD\xBA\xC5\xBC\xFC", 0xDE},          // 单引号键
    {"\xB3\xCB\xBA\xC5\xBC\xFC", 0x6A},                  // 乘号键
    {"\xBC\xD3\xBA\xC5\xBC\xFC", 0x6B},                  // 加号键
    {"<\xCE\xDE>", 0x08},                                // <无>
    {"TAB\xBC\xFC", 0x09},                               // TAB键
}};

// Extra name only: the grave accent character itself also names the grave accent key.
constexpr KeyRow kGraveAccentRow{"`", 0xC0};

// Extra codes only: the keypad digits 0x60..0x69 take the names of the main digit keys ("键" + N),
// so a keypad digit becomes the main-keyboard digit once stored as a step.
constexpr std::int32_t kFirstKeypadDigit = 0x60;
constexpr std::int32_t kLastKeypadDigit = 0x69;
constexpr std::int32_t kFirstMainDigit = 0x30;

}  // namespace

std::int32_t key_code_from_name(std::string_view name) {
    for (const KeyRow& row : kTwoWayRows) {
        if (row.name == name)
            return row.code;
    }
    return name == kGraveAccentRow.name ? kGraveAccentRow.code : 0;
}

std::string key_name_from_code(std::int32_t code) {
    if (code >= kFirstKeypadDigit && code <= kLastKeypadDigit)
        code = code - kFirstKeypadDigit + kFirstMainDigit;
    for (const KeyRow& row : kTwoWayRows) {
        if (row.code == code)
            return std::string(row.name);
    }
    return {};
}

}  // namespace keyvora
