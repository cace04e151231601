#include "target/target_entry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace keyvora {
namespace {

const std::string kBar = "\xD8\xAD";  // 丨

std::string entry_of(const std::string& exe, const std::string& title, const std::string& handle) {
    return exe + " " + kBar + " " + title + " " + kBar + " " + handle;
}

TEST(MakeTargetEntry, ShouldJoinNameTitleAndHandle) {
    struct Case {
        std::string exe, title;
        WindowId window;
        std::string expected;
    };
    const Case cases[] = {
        {"notepad.exe", "Untitled", 1234, entry_of("notepad.exe", "Untitled", "1234")},
        {"svchost.exe", "", -1, "svchost.exe " + kBar + "  " + kBar + " -1"},
        {"[System Process]", "", 0, entry_of("[System Process]", "", "0")},
        {"big.exe", "T", -2147483647 - 1, entry_of("big.exe", "T", "-2147483648")},
        // "丨" in a field is written as "|", so the handle stays the third piece.
        {"a" + kBar + "b.exe", "x " + kBar + " y" + kBar, 55, entry_of("a|b.exe", "x | y|", "55")},
        // D8 AD that straddles two characters (B0 D8, AD B0) is not a "丨" and stays.
        {"w.exe", "\xB0\xD8\xAD\xB0", 7, entry_of("w.exe", "\xB0\xD8\xAD\xB0", "7")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, make_target_entry(c.exe, c.title, c.window)) << c.title;
    }
}

TEST(TargetHandleOfEntry, ShouldReadTheThirdPieceByTheLeadingNumberRule) {
    struct Case {
        std::string entry;
        WindowId expected;
    };
    const Case cases[] = {
        {entry_of("a.exe", "T", "123"), 123},
        {entry_of("a.exe", "", "-1"), -1},
        {entry_of("a.exe", "T", "zz"), 0},
        {entry_of("a.exe", "T", "\xA3\xB4\xA3\xB2"), 42},  // full-width digits
        {entry_of("a.exe", "T", "12") + " " + kBar + " 99", 12},
        {"a.exe " + kBar + " T", 0},
        {"a.exe " + kBar + " T " + kBar, 0},  // an empty last piece does not count
        {"", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, target_handle_of_entry(c.entry)) << c.entry;
    }
}

TEST(TargetHandleOfEntry, ShouldRecoverTheHandle_WhateverTheNameAndTitleHold) {
    const std::string titles[] = {"", kBar, kBar + kBar + " 9 " + kBar, "\xB0\xD8\xAD\xB0", "12"};
    for (const std::string& title : titles) {
        EXPECT_EQ(65540, target_handle_of_entry(make_target_entry(title + ".exe", title, 65540))) << title;
    }
}

TEST(LowerAsciiGbk, ShouldLowerOnlyAsciiLetters_AndKeepDoubleByteCharactersWhole) {
    struct Case {
        std::string name, expected;
    };
    const Case cases[] = {
        {"NotePad.EXE", "notepad.exe"},
        {"@[`{AZ]", "@[`{az]"},
        {"\xC4\xE3" "A.EXE", "\xC4\xE3" "a.exe"},
        {"\x81\x41\x81Z", "\x81\x41\x81Z"},  // trail bytes that look like letters stay
        {"AB\x81", "ab\x81"},                // a lead byte at the end
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, lower_ascii_gbk(c.name)) << c.name;
    }
}

// Processes 10 "app.exe" (no window), 11 "APP.exe" (hidden window 500, then visible 502 and 501 in
// that window order), 12 "app.EXE" (visible 503), 13 "\x81\x41.exe" (visible 504),
// 14 "tool.exe" (hidden only).
struct Desktop {
    std::vector<ProcessEntry> processes = {
        {10, "app.exe"}, {11, "APP.exe"}, {12, "app.EXE"}, {13, "\x81\x41.exe"}, {14, "tool.exe"},
    };
    std::vector<TopLevelWindow> windows = {
        {500, 11, false}, {503, 12, true}, {502, 11, true}, {501, 11, true}, {504, 13, true}, {505, 14, false},
    };
};

TEST(FindWindowOfExe, ShouldTakeTheFirstVisibleWindowOfTheFirstProcessOfThatNameThatHasOne) {
    const Desktop d;
    struct Case {
        std::string name;
        WindowId expected;
    };
    const Case cases[] = {
        {"app.exe", 502},         // process 10 has none, 11 supplies its first visible window
        {"App.Exe", 502},         // ASCII case ignored
        {"tool.exe", -1},         // a hidden window is never chosen
        {"\x81\x41.exe", 504},
        {"\x81\x61.exe", -1},     // the trail byte 41 is not the letter A
        {"missing.exe", -1},
        {"", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, find_window_of_exe(c.name, d.processes, d.windows)) << c.name;
    }
}

class FakeSystemSource final : public SystemSource {
public:
    FakeSystemSource(std::vector<ProcessEntry> processes, std::vector<TopLevelWindow> windows,
                     std::map<WindowId, std::string> titles = {})
        : processes_(std::move(processes)), windows_(std::move(windows)), titles_(std::move(titles)) {}

    std::vector<ProcessEntry> processes() override {
        ++process_calls;
        return processes_;
    }
    std::vector<TopLevelWindow> top_level_windows() override {
        ++window_calls;
        return windows_;
    }
    std::string window_title(WindowId window) override {
        title_requests.push_back(window);
        const auto found = titles_.find(window);
        return found == titles_.end() ? std::string{} : found->second;
    }

    int process_calls = 0;
    int window_calls = 0;
    std::vector<WindowId> title_requests;

private:
    std::vector<ProcessEntry> processes_;
    std::vector<TopLevelWindow> windows_;
    std::map<WindowId, std::string> titles_;
};

TEST(BuildTargetEntries, ShouldGiveOneEntryPerProcessInSnapshotOrder_FromOneSnapshotAndOneEnumeration) {
    const Desktop d;
    FakeSystemSource source(d.processes, d.windows, {{502, "Main " + kBar + " window"}, {504, "\xC4\xE3\xBA\xC3"}});
    const std::vector<std::string> expected = {
        entry_of("app.exe", "Main | window", "502"),
        entry_of("APP.exe", "Main | window", "502"),
        entry_of("app.EXE", "Main | window", "502"),  // has a window of its own, but shares the name
        entry_of("\x81\x41.exe", "\xC4\xE3\xBA\xC3", "504"),
        entry_of("tool.exe", "", "-1"),
    };
    EXPECT_EQ(expected, build_target_entries(source));
    EXPECT_EQ(1, source.process_calls);
    EXPECT_EQ(1, source.window_calls);
    EXPECT_EQ((std::vector<WindowId>{502, 502, 502, 504, -1}), source.title_requests);
}

TEST(BuildTargetEntries, ShouldGiveNothing_WhenThereIsNoProcess) {
    FakeSystemSource source({}, {{1, 1, true}});
    EXPECT_TRUE(build_target_entries(source).empty());
}

// The entries as the straightforward algorithm gives them: per process, a walk of the whole
// snapshot for a process of the same name and, for each, of the whole window list.
std::vector<std::string> entries_process_by_process(const std::vector<ProcessEntry>& processes,
                                                    const std::vector<TopLevelWindow>& windows,
                                                    const std::map<WindowId, std::string>& titles) {
    const auto lower = [](const std::string& s) {
        std::string out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const auto b = static_cast<unsigned char>(s[i]);
            if (b >= 0x80) {
                out += s.substr(i, 2);
                ++i;
            } else {
                out += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 32 : b);
            }
        }
        return out;
    };
    std::vector<std::string> entries;
    for (const ProcessEntry& wanted : processes) {
        WindowId found = -1;
        for (const ProcessEntry& candidate : processes) {
            if (found != -1) break;
            if (lower(candidate.exe_name) != lower(wanted.exe_name)) continue;
            for (const TopLevelWindow& w : windows) {
                if (w.visible && w.owner_process_id == candidate.process_id) {
                    found = w.window;
                    break;
                }
            }
        }
        const auto title = titles.find(found);
        entries.push_back(make_target_entry(wanted.exe_name, title == titles.end() ? "" : title->second, found));
    }
    return entries;
}

TEST(BuildTargetEntries, ShouldMatchTheProcessByProcessAlgorithm_OnRandomDesktops) {
    // Few names in several spellings, pids that repeat and windows of processes that are gone,
    // so shared names, case variants, trail bytes that look like letters and hidden windows mix.
    const std::vector<std::string> names = {"a.exe", "A.EXE", "b.exe", "\x81" "A.exe", "\x81" "a.exe", "", "B.exe"};
    for (const unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        std::vector<ProcessEntry> processes;
        for (int i = 0, n = pick(25); i < n; ++i) {
            processes.push_back({static_cast<std::uint32_t>(pick(20)), names[pick(static_cast<int>(names.size()))]});
        }
        std::vector<TopLevelWindow> windows;
        std::map<WindowId, std::string> titles;
        for (int i = 0, n = pick(40); i < n; ++i) {
            const WindowId handle = 1000 + i;
            windows.push_back({handle, static_cast<std::uint32_t>(pick(24)), pick(3) != 0});
            titles[handle] = "w" + std::to_string(handle);
        }
        FakeSystemSource source(processes, windows, titles);
        EXPECT_EQ(entries_process_by_process(processes, windows, titles), build_target_entries(source))
            << "seed " << seed;
    }
}

}  // namespace
}  // namespace keyvora
