// Which pictures make a clip: from the last I-frame at or before the start
// to the last picture before the end.
#include "ClipSelector.h"

#include <gtest/gtest.h>

namespace calverin {
namespace {

constexpr uint64_t kFirst = 7000000000ull;
constexpr uint64_t kMs = 1000;

// `seconds` of pictures at 25 a second, an I-frame every `gop`; `gapAfter`
// pictures then a jump of `gapMs`.
std::vector<VideoFrame> Recording(int seconds, int gop, int gapAfter = -1, uint64_t gapMs = 0) {
    std::vector<VideoFrame> frames;
    for (int k = 0; k < seconds * 25; ++k) {
        uint64_t t = kFirst + uint64_t(k) * 40 * kMs + (gapAfter >= 0 && k >= gapAfter ? gapMs * kMs : 0);
        frames.push_back({t, k % gop == 0});
    }
    return frames;
}

ClipWindow Window(uint64_t fromMs, uint64_t toMs) { return {kFirst + fromMs * kMs, kFirst + toMs * kMs}; }

TEST(SelectClip, StartsAtTheLastIFrameAtOrBeforeTheCutStart) {
    struct Case {
        const char* what;
        std::vector<VideoFrame> frames;
        ClipWindow window;
        size_t begin, count;
    } cases[] = {
        // I-frames every 12 pictures (0.48 s): 5 s lies in the GOP of 4.8 s.
        {"mid-GOP start", Recording(20, 12), Window(5000, 10000), 120, 130},
        {"start on an I-frame", Recording(20, 25), Window(5000, 10000), 125, 125},
        {"start = end: one second", Recording(20, 25), Window(7000, 8000), 175, 25},
        {"from the first picture", Recording(20, 25), Window(0, 1000), 0, 25},
        {"end past the recording", Recording(20, 25), Window(18000, 30000), 450, 50},
        {"start past the recording", Recording(20, 25), Window(21000, 22000), 0, 0},
        // Pictures 0-99 (0-3.96 s), then from 10 s on: nothing in 5-8 s.
        {"window inside a gap", Recording(20, 25, 100, 6000), Window(5000, 8000), 0, 0},
        // The window starts in the gap: the clip takes the GOP before it.
        {"start inside a gap", Recording(20, 25, 100, 6000), Window(5000, 12000), 75, 75},
    };
    for (const Case& c : cases) {
        ClipSpan span = SelectClip(c.frames, c.window);
        EXPECT_EQ(span.count, c.count) << c.what;
        if (c.count) {
            EXPECT_EQ(span.begin, c.begin) << c.what;
        }
    }
}

TEST(ClipSelector, ReportsALateFirstIFrameUnlessItMustAccept) {
    ClipWindow w = Window(5000, 6000);
    ClipSelector strict(w, false);
    EXPECT_EQ(strict.OnVideo(kFirst + 4960 * kMs, false), ClipSelector::kSkip);
    EXPECT_EQ(strict.OnVideo(kFirst + 5200 * kMs, true), ClipSelector::kLate);

    ClipSelector accepting(w, true);
    EXPECT_EQ(accepting.OnVideo(kFirst + 5200 * kMs, true), ClipSelector::kBegin);
    EXPECT_EQ(accepting.OnVideo(kFirst + 5240 * kMs, false), ClipSelector::kTake);
    EXPECT_EQ(accepting.OnVideo(kFirst + 6000 * kMs, false), ClipSelector::kStop);
    EXPECT_EQ(accepting.OnVideo(kFirst + 5280 * kMs, false), ClipSelector::kStop);
    EXPECT_TRUE(accepting.HasPictureInWindow());
}

TEST(ClipSelector, KeepsItsBeginningOnceThePicturesPassTheStart) {
    // A clock that runs backwards after the start must not restart the clip.
    ClipSelector s(Window(1000, 3000), false);
    EXPECT_EQ(s.OnVideo(kFirst + 960 * kMs, true), ClipSelector::kBegin);
    EXPECT_EQ(s.OnVideo(kFirst + 1000 * kMs, true), ClipSelector::kBegin);
    EXPECT_EQ(s.OnVideo(kFirst + 1040 * kMs, false), ClipSelector::kTake);
    EXPECT_EQ(s.OnVideo(kFirst + 500 * kMs, true), ClipSelector::kTake);
}

}  // namespace
}  // namespace calverin
