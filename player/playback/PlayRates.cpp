#include "playback/PlayRates.h"

#include <cstdio>

namespace {

const int kFastest = 8;
const int kSlowest = -8;
const int kFastestBack = -5;

void Unpause(RateState& s, RateResult& r)
{
    if (s.paused) {
        s.paused = 0;
        r.steps.push_back({EngineStep::Pause, 0, 0});
    }
}

void SetRate(RateState& s, RateResult& r)
{
    r.steps.push_back({EngineStep::SetRate, s.rateExponent, s.reverse});
}

}  // namespace

RateResult PlayCommand(RateState& s)
{
    RateResult r;
    if (s.playState == kPlaying)
        return r;
    s.reverse = 0;
    s.rateExponent = 0;
    SetRate(s, r);
    if (s.playState == kPausedOrStepped) {
        r.steps.push_back({EngineStep::Pause, 0, 0});
        s.paused = 0;
    } else {
        s.resyncPosition = 1;
    }
    s.playState = kPlaying;
    r.label = RateLabel::Forward;
    return r;
}

RateResult PauseCommand(RateState& s)
{
    RateResult r;
    if (s.paused)
        return r;
    r.steps.push_back({EngineStep::Pause, 1, 0});
    s.paused = 1;
    s.playState = kPausedOrStepped;
    r.label = RateLabel::Paused;
    return r;
}

RateResult FasterCommand(RateState& s)
{
    RateResult r;
    Unpause(s, r);
    if (s.reverse) {
        s.rateExponent += 1;
        if (s.rateExponent == 0) {
            // Back at normal speed: on forwards, from a pause.
            s.paused = 1;
            s.reverse = 0;
            r.steps.push_back({EngineStep::Pause, 1, 0});
        }
        SetRate(s, r);
        Unpause(s, r);
        r.label = s.rateExponent < 0 ? RateLabel::Reverse : RateLabel::Forward;
    } else if (s.rateExponent < kFastest) {
        s.rateExponent += 1;
        SetRate(s, r);
        r.label = RateLabel::Forward;
    }
    s.playState = kFast;
    return r;
}

RateResult SlowerCommand(RateState& s)
{
    RateResult r;
    Unpause(s, r);
    if (s.reverse) {
        s.paused = 1;
        r.steps.push_back({EngineStep::Pause, 1, 0});
        s.reverse = 0;
        s.rateExponent = 0;
    }
    if (s.rateExponent > kSlowest) {
        s.rateExponent -= 1;
        SetRate(s, r);
        Unpause(s, r);
        r.label = RateLabel::Forward;
    }
    s.playState = kSlowOrReverse;
    return r;
}

RateResult RewindCommand(RateState& s)
{
    RateResult r;
    Unpause(s, r);
    if (!s.reverse) {
        s.reverse = 1;
        s.rateExponent = 0;
    }
    if (s.rateExponent > kFastestBack) {
        s.rateExponent -= 1;
        SetRate(s, r);
        r.label = RateLabel::Reverse;
    }
    s.playState = kSlowOrReverse;
    return r;
}

std::wstring ForwardRateText(int rateExponent)
{
    wchar_t text[16];
    if (rateExponent >= 0)
        std::swprintf(text, 16, L"%dX", 1 << rateExponent);
    else
        std::swprintf(text, 16, L"1/%dX", 1 << -rateExponent);
    return text;
}

std::wstring ReverseRateText(int rateExponent)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"-%dX", 1 << (rateExponent < 0 ? -rateExponent : rateExponent));
    return text;
}
