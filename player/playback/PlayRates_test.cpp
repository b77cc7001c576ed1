#include "playback/PlayRates.h"

#include <gtest/gtest.h>

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
        {"faster x9", FasterCommand, 9,
         {L"2X", L"4X", L"8X", L"16X", L"32X", L"64X", L"128X", L"256X", L"256X"}},
        {"slower x9", SlowerCommand, 9,
         {L"1/2X", L"1/4X", L"1/8X", L"1/16X", L"1/32X", L"1/64X", L"1/128X", L"1/256X", L"1/256X"}},
        {"rewind x6", RewindCommand, 6, {L"-2X", L"-4X", L"-8X", L"-16X", L"-32X", L"-32X"}},
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
