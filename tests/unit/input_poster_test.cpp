#include "runner/input_poster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "recording_poster.h"

namespace keyvora {
namespace {

using testing::PostedMessage;
using testing::RecordingPoster;

TEST(PackMouseLparam, ShouldPutXLowAndYHigh_AsSixteenBitTwosComplement) {
    struct Case {
        std::int32_t x, y;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {100, 200, 0x00C80064u},
        {-1, 5, 0x0005FFFFu},
        {65535, 0, 0x0000FFFFu},
        {0, 65535, 0xFFFF0000u},
        {70000, 3, 0x00031170u},  // 70000 - 65536 = 4464 = 0x1170
        {-32768, -2, 0xFFFE8000u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, pack_mouse_lparam(c.x, c.y)) << c.x << "," << c.y;
    }
}

TEST(PostKey, ShouldPostKeyDownThenKeyUp_WithTheCodeAndZeroLparam) {
    for (const std::int32_t code : {0x0D, 0}) {
        RecordingPoster poster;
        post_key(poster, 77, code);
        const std::vector<PostedMessage> expected = {
            {77, kWmKeyDown, static_cast<std::uint32_t>(code), 0},
            {77, kWmKeyUp, static_cast<std::uint32_t>(code), 0},
        };
        EXPECT_EQ(expected, poster.posted) << code;
        EXPECT_EQ(0, poster.desktop_lookups);
    }
}

TEST(PostLeftClick, ShouldPostMoveDownUp_WithTheirButtonFlagsAndOnePosition) {
    RecordingPoster poster;
    post_left_click(poster, 4242, 100, 200);
    const std::vector<PostedMessage> expected = {
        {4242, kWmMouseMove, 2, 0x00C80064u},
        {4242, kWmLButtonDown, 1, 0x00C80064u},
        {4242, kWmLButtonUp, 0, 0x00C80064u},
    };
    EXPECT_EQ(expected, poster.posted);
    EXPECT_EQ(0, poster.desktop_lookups);
}

TEST(PostLeftClick, ShouldGoToTheDesktopIconList_WhenTheWindowIsZero) {
    // The lookup's result is used as it comes, a failed lookup (0) included.
    for (const WindowId desktop : {WindowId{9001}, WindowId{0}}) {
        RecordingPoster poster;
        poster.desktop_window = desktop;
        post_left_click(poster, 0, -1, 5);
        ASSERT_EQ(3u, poster.posted.size());
        for (const PostedMessage& m : poster.posted) {
            EXPECT_EQ(desktop, m.window);
            EXPECT_EQ(0x0005FFFFu, m.lparam);
        }
        EXPECT_EQ(1, poster.desktop_lookups);
    }
}

TEST(PostLeftClick, ShouldPostToMinusOne_AsAnyOtherHandle) {
    // -1 marks a process without a window; it is not 0, so no desktop lookup replaces it.
    RecordingPoster poster;
    post_left_click(poster, -1, 1, 1);
    ASSERT_EQ(3u, poster.posted.size());
    EXPECT_EQ(-1, poster.posted[0].window);
    EXPECT_EQ(0, poster.desktop_lookups);
}

}  // namespace
}  // namespace keyvora
