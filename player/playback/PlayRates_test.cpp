#include "playback/PlayRates.h"

#include "WString.h"
#include "FramePacing.h"

#include <gtest/gtest.h>

#include <cwchar>

#include <string>
#include <vector>

namespace {

// The label a command leaves (the previous one when it shows none).
std::wstring Label(const RateState& s, const RateResult& r, const std::wstring& before)
{
    switch (r.label) {
    case RateLabel::Forward: return ForwardRateText(s.rateExponent);
    case RateLabel::Reverse: return ReverseRateText(s.rateExponent);
    case RateLabel::Paused: return L"PAUSE";
    case RateLabel::Unchanged: break;
    }
    return before;
}

RateState Playing()
{
    RateState s;
    s.playState = kPlaying;
    return s;
}

}  // namespace

TEST(PlayRates, LabelSequences)
{
    struct Case {
        const char* what;
        RateResult (*command)(RateState&);
        int presses;
        std::vector<std::wstring> labels;
    } cases[] = {
        // The speeds the steps play at, pictures 40 ms apart.
        {"faster x9", FasterCommand, 9,
         {L"1.3X", L"1.8X", L"3.1X", L"4X", L"8X", L"16X", L"32X", L"64X", L"64X"}},
        {"slower x9", SlowerCommand, 9,
         {L"1/2X", L"1/4X", L"1/6X", L"1/8X", L"1/10X", L"1/12X", L"1/14X", L"1/16X", L"1/16X"}},
        {"rewind x6", RewindCommand, 6, {L"-2X", L"-4X", L"-6X", L"-8X", L"-10X", L"-10X"}},
    };
    for (const Case& c : cases) {
        RateState s = Playing();
        std::wstring label = L"1X";
        for (int i = 0; i < c.presses; ++i) {
            RateResult r = c.command(s);
            label = Label(s, r, label);
            EXPECT_EQ(label, c.labels[size_t(i)]) << c.what << ", press " << i + 1;
        }
    }
}

TEST(PlayRates, TheLimitsChangeOnlyTheState)
{
    RateState s = Playing();
    for (int i = 0; i < 8; ++i)
        FasterCommand(s);
    RateResult r = FasterCommand(s);
    EXPECT_TRUE(r.steps.empty());
    EXPECT_EQ(s.rateExponent, 8);
    EXPECT_EQ(s.playState, kFast);

    s = Playing();
    for (int i = 0; i < 5; ++i)
        RewindCommand(s);
    s.playState = kPlaying;
    r = RewindCommand(s);
    EXPECT_TRUE(r.steps.empty());
    EXPECT_EQ(s.rateExponent, -5);
    EXPECT_EQ(s.playState, kSlowOrReverse);
}

TEST(PlayRates, FasterFromBackwardsResumesForwardsAtNormalSpeed)
{
    RateState s = Playing();
    RewindCommand(s);  // -2X
    ASSERT_EQ(s.reverse, 1);
    RateResult r = FasterCommand(s);
    const std::vector<EngineStep> want = {
        {EngineStep::Pause, 1, 0}, {EngineStep::SetRate, 0, 0}, {EngineStep::Pause, 0, 0}};
    EXPECT_EQ(r.steps, want);
    EXPECT_EQ(s.reverse, 0);
    EXPECT_EQ(s.paused, 0);
    EXPECT_EQ(Label(s, r, L""), L"1X");

    // From -4X one step goes to -2X, still backwards.
    s = Playing();
    RewindCommand(s);
    RewindCommand(s);
    r = FasterCommand(s);
    EXPECT_EQ(r.steps, (std::vector<EngineStep>{{EngineStep::SetRate, -1, 1}}));
    EXPECT_EQ(Label(s, r, L""), L"-2X");
}

TEST(PlayRates, SlowerFromBackwardsPlaysForwardsAtHalfSpeed)
{
    RateState s = Playing();
    RewindCommand(s);
    RateResult r = SlowerCommand(s);
    const std::vector<EngineStep> want = {
        {EngineStep::Pause, 1, 0}, {EngineStep::SetRate, -1, 0}, {EngineStep::Pause, 0, 0}};
    EXPECT_EQ(r.steps, want);
    EXPECT_EQ(s.reverse, 0);
    EXPECT_EQ(Label(s, r, L""), L"1/2X");
}

TEST(PlayRates, PauseAndPlay)
{
    RateState s = Playing();
    s.rateExponent = 2;
    RateResult r = PauseCommand(s);
    EXPECT_EQ(r.steps, (std::vector<EngineStep>{{EngineStep::Pause, 1, 0}}));
    EXPECT_EQ(r.label, RateLabel::Paused);
    EXPECT_EQ(s.playState, kPausedOrStepped);
    EXPECT_TRUE(PauseCommand(s).steps.empty());  // already paused

    // Play from a pause resumes at normal speed.
    s.resyncPosition = 0;
    r = PlayCommand(s);
    EXPECT_EQ(r.steps, (std::vector<EngineStep>{{EngineStep::SetRate, 0, 0}, {EngineStep::Pause, 0, 0}}));
    EXPECT_EQ(s.paused, 0);
    EXPECT_EQ(s.rateExponent, 0);
    EXPECT_EQ(s.playState, kPlaying);
    EXPECT_EQ(s.resyncPosition, 0);

    // Playing already: nothing.
    EXPECT_TRUE(PlayCommand(s).steps.empty());

    // From a fast or a backward rate: normal speed, and the position is
    // shown afresh.
    RewindCommand(s);
    r = PlayCommand(s);
    EXPECT_EQ(r.steps, (std::vector<EngineStep>{{EngineStep::SetRate, 0, 0}}));
    EXPECT_EQ(s.reverse, 0);
    EXPECT_EQ(s.resyncPosition, 1);
    EXPECT_EQ(Label(s, r, L""), L"1X");
}

TEST(PlayRates, AFasterOrSlowerPressResumesFromAPause)
{
    RateState s = Playing();
    PauseCommand(s);
    RateResult r = FasterCommand(s);
    EXPECT_EQ(r.steps, (std::vector<EngineStep>{{EngineStep::Pause, 0, 0}, {EngineStep::SetRate, 1, 0}}));
    EXPECT_EQ(s.paused, 0);
}

// The label tells the speed the engine's pacing gives: the picture
// interval over the interval the engine shows each picture for (I-frames
// a second apart in I-frame play), within 5 %, at every step the buttons
// reach; and the steps stay in order.
TEST(PlayRates, TheLabelsAreTheSpeedsOfTheEnginesPacing)
{
    for (bool camera : {false, true}) {
        for (int pictureMs : {40, 33}) {
            double slower = 0;
            for (int r = -8; r <= 8; ++r) {
                const bool iframes = !camera && r >= 4;
                const uint32_t base = iframes ? 1000u : uint32_t(pictureMs);
                const uint32_t shown = ForwardIntervalMs(base, r, camera);
                const double engine = double(base) / double(shown ? shown : 1);
                const double speed = PlaySpeed(r, 0, pictureMs, camera);
                EXPECT_NEAR(speed, engine, engine * 0.05) << r << " camera " << camera << " " << pictureMs;
                // In order at the recorder's 25 pictures a second. (At 30 the
                // engine's third fast step, 33 - 27 ms, outruns its fourth,
                // and a camera file's steps are not all in order either.)
                if (!camera && pictureMs == 40) {
                    EXPECT_GT(speed, slower) << r;
                }
                slower = speed;
                // The label, read back, within 5 % of it.
                const std::wstring text = ForwardRateText(r, pictureMs, camera);
                double n = 0, d = 1;
                if (swscanf(text.c_str(), L"1/%lfX", &d) == 1)
                    n = 1;
                else
                    swscanf(text.c_str(), L"%lfX", &n);
                EXPECT_NEAR(n / d, engine, engine * 0.05) << CString(text).ToAnsi();
            }
        }
    }
    double faster = 0;
    for (int r = -1; r >= -5; --r) {
        const double engine = 1000.0 / double(ReverseIntervalMs(1000, r));
        EXPECT_NEAR(-PlaySpeed(r, 1), engine, engine * 0.05) << r;
        EXPECT_GT(-PlaySpeed(r, 1), faster);
        faster = -PlaySpeed(r, 1);
        EXPECT_EQ(ReverseRateText(r), L"-" + std::to_wstring(int(engine + 0.5)) + L"X");
    }
}
