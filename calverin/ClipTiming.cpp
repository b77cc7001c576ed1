#include "ClipTiming.h"

#include "CutTimes.h"

#include <algorithm>
#include <cmath>

namespace calverin {

namespace {

uint64_t Gcd(uint64_t a, uint64_t b) {
    while (b) {
        uint64_t t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// a * b / c rounded to nearest, for a, b, c well inside 64 bits' reach.
constexpr double kMaxFps = 1000;

int64_t MulDivRound(uint64_t a, uint64_t b, uint64_t c) { return int64_t((a * b + c / 2) / c); }

}  // namespace

FrameRate RateFromTimestamps(const std::vector<uint64_t>& timestamps) {
    std::vector<uint64_t> steps;
    steps.reserve(timestamps.size());
    for (size_t i = 1; i < timestamps.size(); ++i)
        if (timestamps[i] > timestamps[i - 1]) steps.push_back(timestamps[i] - timestamps[i - 1]);
    FrameRate rate;
    if (steps.empty()) return rate;
    size_t mid = steps.size() / 2;
    std::nth_element(steps.begin(), steps.begin() + mid, steps.end());
    uint64_t step = steps[mid];
    if (steps.size() % 2 == 0) {
        uint64_t below = *std::max_element(steps.begin(), steps.begin() + mid);
        step = (step + below) / 2;
    }
    double fps = double(kMicrosPerSecond) / double(step);
    if (fps > kMaxFps) return rate;   // no recorder's clock: keep the default
    double whole = std::floor(fps + 0.5);
    if (whole >= 1 && std::fabs(fps - whole) <= 0.02 * whole) {
        rate.num = uint32_t(whole);
        rate.den = 1;
        return rate;
    }
    uint64_t g = Gcd(kMicrosPerSecond, step);
    uint64_t num = kMicrosPerSecond / g, den = step / g;
    while (den > 0xFFFFFFFFu) {   // a step of over an hour: keep it representable
        num = (num + 1) / 2;
        den = (den + 1) / 2;
    }
    rate.num = uint32_t(num);
    rate.den = uint32_t(den);
    return rate;
}

int64_t VideoClock::SlotOf(uint64_t timestamp) {
    int64_t slot = 0;
    if (timestamp > first_)
        slot = MulDivRound(timestamp - first_, rate_.num, uint64_t(rate_.den) * kMicrosPerSecond);
    if (slot <= last_) slot = last_ + 1;
    last_ = slot;
    return slot;
}

int64_t SoundClock::SilenceBefore(uint64_t timestamp) const {
    if (timestamp <= first_) return 0;
    int64_t due = MulDivRound(timestamp - first_, kSampleRate, kMicrosPerSecond);
    return due - written_ > kToleranceSamples ? due - written_ : 0;
}

}  // namespace calverin
