#include "vehicle/InfoFrameReading.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const size_t kFrameSize = 48;
const int kGuessFrames = 180;   // frames a missing digit count is guessed over
const uint32_t kFixEveryMs = 100;
const double kJumpMeters = 300;
// Faster than any vehicle the recorder rides in (252 km/h).
const double kFastestMetresPerSecond = 70;
const int kSecondsPerDay = 24 * 3600;
const double kHoldDegrees = 0.001;

unsigned Word(const uint8_t* p)
{
    return p[0] | (p[1] << 8);
}

int32_t Long(const uint8_t* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

int GuessDigits(int32_t fraction)
{
    if (fraction >= 100000)
        return 6;
    if (fraction >= 10000)
        return 5;
    return 4;
}

// Degrees of a degrees / minutes / fraction triple; false when a part is
// out of its range.
bool Degrees(unsigned degrees, unsigned minutes, int32_t fraction, int digits, double limit, double& out)
{
    double scale = 1;
    for (int i = 0; i < digits; ++i)
        scale *= 10;
    if (minutes >= 60 || fraction < 0 || fraction >= scale)
        return false;
    out = degrees + (minutes + fraction / scale) / 60.0;
    return out <= limit;
}

std::string Format(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Rounded to six decimals as the map's texts give it.
double Round6(double value)
{
    return std::strtod(Format("%.6lf", value).c_str(), nullptr);
}

// The digit count of this frame's fractions.
int FractionDigits(InfoFrameState& state, uint8_t given, int32_t lat, int32_t lon)
{
    if (given >= 1 && given <= 6) {
        state.fractionDigits = given;
        state.digitsGiven = true;
    } else if (!state.digitsGiven && state.digitGuessFrames < kGuessFrames) {
        // The count only grows: a fraction of five digits shows that the
        // smaller ones have leading zeros.
        const int guess = GuessDigits(lat > lon ? lat : lon);
        if (guess > state.fractionDigits)
            state.fractionDigits = guess;
        ++state.digitGuessFrames;
    }
    return state.fractionDigits < 0 ? 4 : state.fractionDigits;
}

}  // namespace

void InfoFrameState::ResetForOpen()
{
    fractionDigits = -1;
    digitsGiven = false;
    digitGuessFrames = 0;
    hasPrevious = false;
    previousLat = previousLon = 0;
    previousClock = -1;
    hasShown = false;
    shownLat = shownLon = 0;
    holding = false;
}

int HeadingToDirection(unsigned heading)
{
    const unsigned d = heading / 100;
    if (d < 23 || d > 337)
        return 0;
    return static_cast<int>((d - 23) / 45) + 1;
}

double GpsDistanceMeters(double lat1, double lon1, double lat2, double lon2)
{
    const double rad = 3.1415927 / 180;
    const double dLat = std::sin((lat1 - lat2) * rad / 2);
    const double dLon = std::sin((lon1 - lon2) * rad / 2);
    const double a = dLat * dLat + std::cos(lat2 * rad) * std::cos(lat1 * rad) * dLon * dLon;
    return 2 * std::asin(std::sqrt(a)) * 6378.137 * 1000 + 0.5;
}

int FrameClock(const uint8_t* frame)
{
    const unsigned h = frame[3], m = frame[4], s = frame[5];
    if (h >= 24 || m >= 60 || s >= 60)
        return -1;
    return static_cast<int>(h * 3600 + m * 60 + s);
}

double JumpLimitMeters(int seconds)
{
    return kJumpMeters + (seconds > 0 ? seconds : 0) * kFastestMetresPerSecond;
}

bool IsGpsJump(InfoFrameState& state, double lat, double lon, int clock)
{
    const double d = GpsDistanceMeters(state.previousLat, state.previousLon, lat, lon);
    // Either way round (backward play), and the short way over midnight.
    int apart = 0;
    if (clock >= 0 && state.previousClock >= 0) {
        apart = std::abs(clock - state.previousClock);
        if (apart > kSecondsPerDay / 2)
            apart = kSecondsPerDay - apart;
    }
    state.previousLat = lat;
    state.previousLon = lon;
    state.previousClock = clock;
    state.hasPrevious = true;
    return !(d < JumpLimitMeters(apart));
}

std::wstring PlayTimeText(int ms)
{
    if (ms < 0)
        ms = 0;
    wchar_t text[32];
    std::swprintf(text, 32, L"%02d:%02d", ms / 60000, ms / 1000 % 60);
    return text;
}

InfoFrameReading ReadInfoFrame(const uint8_t* b, size_t length, const InfoFrameSettings& settings, uint32_t tick,
                               int& resyncPosition, InfoFrameState& state, GpsConverter convert)
{
    InfoFrameReading r;
    if (!b || length < kFrameSize)
        return r;
    r.complete = true;

    r.speedKmh = Word(b + 10);
    const bool english = settings.languageCode == 3;
    r.speed = english ? static_cast<int>(r.speedKmh * 0.62 + 0.5) : static_cast<int>(r.speedKmh);
    for (int i = 0; i < 3; ++i)
        r.accel[i] = static_cast<int8_t>(b[40 + i]) * 0.625;

    const int32_t latFraction = Long(b + 16), lonFraction = Long(b + 20);
    const int digits = FractionDigits(state, b[28], latFraction, lonFraction);

    if (!state.tickTaken || tick - state.lastTick >= kFixEveryMs) {
        state.tickTaken = true;
        state.lastTick = tick;
        r.fix = b[8] == 'A';
    }

    double lat = 0, lon = 0;
    r.positionValid = Degrees(b[12], b[13], latFraction, digits, 90, lat) &&
                      Degrees(b[14], b[15], lonFraction, digits, 180, lon);
    if (r.positionValid) {
        if (b[26] == 'S')
            lat = -lat;
        if (b[27] == 'W')
            lon = -lon;
        r.latitude = lat;
        r.longitude = lon;
    }

    if (r.speedKmh != 0)
        state.lastDirection = HeadingToDirection(Word(b + 24));
    r.direction = state.lastDirection;

    if (!r.positionValid || b[8] != 'A')
        return r;
    // Every frame with a position is tested against the one before it (not
    // only the fixes the panel shows, which lie a tenth of a second of the
    // wall clock apart: seconds of driving in fast play).
    const double lat6 = Round6(lat), lon6 = Round6(lon);
    const int clock = FrameClock(b);
    bool jump = false;
    if (!state.hasPrevious) {
        state.hasPrevious = true;
        state.previousLat = lat6;
        state.previousLon = lon6;
        state.previousClock = clock;
    } else {
        jump = IsGpsJump(state, lat6, lon6, clock);
    }
    if (!r.fix || jump)
        return r;
    r.showPosition = true;

    double x = lon6, y = lat6;
    if (settings.gpsFix && convert)
        convert(0, lon6, lat6, settings.mapSelect == 3 ? 2 : 1, &x, &y);
    r.mapX = Format("%.6lf", x);
    r.mapY = Format("%.6lf", y);

    // The panel holds back one fix that lies far from what it shows, and
    // shows the next one whatever it is.
    bool hold = false;
    if (!state.hasShown) {
        resyncPosition = 0;
    } else if (resyncPosition) {
        resyncPosition = 0;
    } else {
        const bool away = std::fabs(lon - state.shownLon) > kHoldDegrees || std::fabs(lat - state.shownLat) > kHoldDegrees;
        hold = away && !state.holding;
    }
    state.holding = hold;
    if (!hold) {
        state.hasShown = true;
        state.shownLat = lat;
        state.shownLon = lon;
    }
    r.longitudeText = Format("%.4lf", state.shownLon);
    r.latitudeText = Format("%.4lf", state.shownLat);

    char text[256];
    std::snprintf(text, sizeof text, english ? "%dMPH" : "%dKMH", r.speed);
    r.speedText = text;
    if (english)
        std::snprintf(text, sizeof text, "<span class ='b'>speed:</span>%d mile/h <marquee width=25></marquee>",
                      r.speed);
    else
        std::snprintf(text, sizeof text, "<span class ='b'>%s:</span>%d km/h <marquee width=25></marquee>",
                      settings.speedWord.c_str(), r.speed);
    r.balloon = text;
    return r;
}
