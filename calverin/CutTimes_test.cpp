// Packed times and where a cut falls in a recording.
#include "CutTimes.h"

#include <gtest/gtest.h>

namespace calverin {
namespace {

TEST(PackedTime, PacksHourMinuteSecondIntoTheirBytes) {
    struct Case {
        TimeOfDay t;
        int packed;
    } cases[] = {
        {{0, 0, 0}, 0x000000},
        {{23, 59, 59}, 0x173B3B},
        {{8, 30, 5}, 0x081E05},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PackTime(c.t), c.packed);
        TimeOfDay back;
        ASSERT_TRUE(UnpackTime(c.packed, &back)) << c.packed;
        EXPECT_EQ(back.hour, c.t.hour);
        EXPECT_EQ(back.minute, c.t.minute);
        EXPECT_EQ(back.second, c.t.second);
    }
}

TEST(PackedTime, RefusesFieldsOutOfRangeAndStrayBits) {
    const int bad[] = {
        24 << 16,                 // hour 24
        60 << 8,                  // minute 60
        60,                       // second 60
        0xFF,                     // second 255
        1 << 24,                  // beyond the hour's byte
        -1,
        int(0x80000000u),
    };
    for (int packed : bad) EXPECT_FALSE(UnpackTime(packed, nullptr)) << std::hex << packed;
}

TEST(CutWindow, OffsetsCountFromTheHeaderStartAndWrapPastMidnight) {
    const uint64_t first = 5000000000ull;   // the first I-frame's timestamp
    const uint64_t s = kMicrosPerSecond;
    struct Case {
        TimeOfDay header, from, to;
        uint64_t start, end;   // offsets from `first`
    } cases[] = {
        // The cut 00:00:05-00:00:09 of a recording from midnight.
        {{0, 0, 0}, {0, 0, 5}, {0, 0, 9}, 5 * s, 10 * s},
        // Start = end: that one second.
        {{8, 30, 0}, {8, 30, 20}, {8, 30, 20}, 20 * s, 21 * s},
        // A recording over midnight: the cut after it is on the next day.
        {{23, 59, 50}, {0, 0, 5}, {0, 0, 9}, 15 * s, 20 * s},
        {{23, 59, 50}, {23, 59, 55}, {23, 59, 59}, 5 * s, 10 * s},
        // Both before the start: the next day, far beyond the recording.
        {{8, 30, 0}, {8, 0, 0}, {8, 10, 0}, 84600 * s, 85201 * s},
        // The start alone before the recording: the recording's beginning.
        {{8, 30, 0}, {8, 29, 0}, {8, 30, 30}, 0, 31 * s},
    };
    for (const Case& c : cases) {
        ClipWindow w = MapCut(c.header, first, c.from, c.to);
        EXPECT_EQ(w.start - first, c.start) << PackTime(c.from);
        EXPECT_EQ(w.end - first, c.end) << PackTime(c.to);
    }
}

}  // namespace
}  // namespace calverin
