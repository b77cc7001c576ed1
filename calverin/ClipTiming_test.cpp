// Time in the AVI file: the frame rate, the slots handed to the muxer and
// the silence that bridges a gap in the sound.
#include "ClipTiming.h"

#include <gtest/gtest.h>

namespace calverin {
namespace {

constexpr uint64_t kFirst = 3000000000ull;

std::vector<uint64_t> Steps(std::initializer_list<uint64_t> steps) {
    std::vector<uint64_t> ts{kFirst};
    for (uint64_t s : steps) ts.push_back(ts.back() + s);
    return ts;
}

std::vector<uint64_t> Even(int n, uint64_t step) {
    std::vector<uint64_t> ts;
    for (int k = 0; k < n; ++k) ts.push_back(kFirst + uint64_t(k) * step);
    return ts;
}

TEST(FrameRate, IsTheMedianStepsRateWholeWhenWithinTwoPercent) {
    struct Case {
        const char* what;
        std::vector<uint64_t> timestamps;
        uint32_t num, den;
    } cases[] = {
        {"25 a second", Even(50, 40000), 25, 1},
        {"29.97 is 30", Even(50, 33367), 30, 1},
        {"jitter and a gap", Steps({40000, 39000, 41000, 5000000, 40000, 40500, 39500}), 25, 1},
        {"12.5 a second", Even(20, 80000), 25, 2},
        {"a picture every 1.5 s", Even(5, 1500000), 2, 3},
        {"one picture", Even(1, 40000), 25, 1},
        {"equal timestamps only", {kFirst, kFirst, kFirst}, 25, 1},
        {"no recorder's clock", Even(10, 50), 25, 1},
    };
    for (const Case& c : cases) {
        FrameRate r = RateFromTimestamps(c.timestamps);
        EXPECT_EQ(r.num, c.num) << c.what;
        EXPECT_EQ(r.den, c.den) << c.what;
    }
}

TEST(VideoClock, KeepsRecordingTimeAcrossAGap) {
    // 25 a second; after the third picture the recorder stopped for 2.4 s.
    VideoClock clock(kFirst, FrameRate{25, 1});
    const uint64_t ts[] = {0, 40000, 80000, 2480000, 2520000, 2561000, 2599000};
    const int64_t slots[] = {0, 1, 2, 62, 63, 64, 65};
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(clock.SlotOf(kFirst + ts[i]), slots[i]) << i;
}

TEST(VideoClock, NeverGivesASlotTwiceOrBackwards) {
    VideoClock clock(kFirst, FrameRate{25, 1});
    EXPECT_EQ(clock.SlotOf(kFirst), 0);
    EXPECT_EQ(clock.SlotOf(kFirst + 10000), 1);   // too close: the next slot
    EXPECT_EQ(clock.SlotOf(kFirst), 2);           // backwards: still onwards
    EXPECT_EQ(clock.SlotOf(kFirst + 200000), 5);
}

TEST(VideoClock, UsesAFractionalRate) {
    VideoClock clock(kFirst, FrameRate{25, 2});
    EXPECT_EQ(clock.SlotOf(kFirst), 0);
    EXPECT_EQ(clock.SlotOf(kFirst + 80000), 1);
    EXPECT_EQ(clock.SlotOf(kFirst + 10 * 1000000ull), 125);
}

TEST(SoundClock, FillsAGapWithSilenceButNotTheJitterOfPackets) {
    SoundClock clock(kFirst);
    EXPECT_EQ(clock.SilenceBefore(kFirst), 0);
    clock.Written(320);                                  // 40 ms
    EXPECT_EQ(clock.SilenceBefore(kFirst + 40000), 0);
    clock.Written(320);
    EXPECT_EQ(clock.SilenceBefore(kFirst + 200000), 0);  // 120 ms late: within the tolerance
    // A gap: the next sound belongs at 3 s.
    EXPECT_EQ(clock.SilenceBefore(kFirst + 3000000), 24000 - 640);
    clock.Written(24000 - 640);
    EXPECT_EQ(clock.Position(), 24000);
    EXPECT_EQ(clock.SilenceBefore(kFirst + 3000000), 0);
}

}  // namespace
}  // namespace calverin
