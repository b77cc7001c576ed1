#include "playback/PlayRates.h"

#include <cstdio>
#include <cwchar>
#include <cwctype>

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

double PlaySpeed(int rateExponent, int reverse, int pictureMs, bool cameraFile)
{
    const int r = rateExponent;
    if (reverse)
        return r < 0 ? -2.0 * -r : -1.0;
    if (r < 0)
        return 1.0 / (2.0 * -r);
    if (r == 0)
        return 1.0;
    const bool halving = cameraFile ? r > 4 : r >= 4;
    if (halving && !cameraFile)
        return double(1 << (r - 2));  // I-frames only: their spacing halved r - 2 times
    // Every picture, its interval shortened (in whole milliseconds, as the
    // engine does); a picture as fast as the decoder goes counts as 1 ms.
    const int interval = halving ? pictureMs >> (r - 2) : pictureMs - (cameraFile ? 8 : 9) * r;
    return double(pictureMs) / double(interval > 0 ? interval : 1);
}

std::wstring SpeedText(double speed)
{
    wchar_t text[24];
    const wchar_t* sign = speed < 0 ? L"-" : L"";
    const double s = speed < 0 ? -speed : speed;
    if (s < 0.999) {
        std::swprintf(text, 24, L"%ls1/%dX", sign, int(1.0 / s + 0.5));
    } else {
        const double whole = double(int(s + 0.5));
        if (s >= 10 || (s - whole < 0.05 && whole - s < 0.05))
            std::swprintf(text, 24, L"%ls%dX", sign, int(whole));
        else
            std::swprintf(text, 24, L"%ls%.1fX", sign, s);
    }
    return text;
}

int PictureMsOfName(const wchar_t* name)
{
    if (!name || std::wcslen(name) < 24)
        return kPictureMs;
    const wchar_t c = name[23];
    const int fps = c < L'A' ? int(c) - int(L'0') : int(std::towlower(c)) - 87;
    return fps >= 1 && fps <= 120 ? (1000 + fps / 2) / fps : kPictureMs;
}

std::wstring ForwardRateText(int rateExponent, int pictureMs, bool cameraFile)
{
    return SpeedText(PlaySpeed(rateExponent, 0, pictureMs, cameraFile));
}

std::wstring ReverseRateText(int rateExponent)
{
    return SpeedText(PlaySpeed(rateExponent, 1));
}
