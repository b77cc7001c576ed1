// The play, pause and rate commands of the control panel as plain state
// changes: each command changes the panel's rate state and gives the
// engine calls to make (in order) and which rate label to show. The panel
// makes the calls; tests read the steps.
//
// The rate is an exponent: forward 2^rate with -8..8, backwards (I-frames
// only) 2^-rate with -1..-5.
#pragma once

#include <string>
#include <vector>

// playState values.
enum PlayState { kIdle = 0, kPlaying = 1, kPausedOrStepped = 2, kFast = 3, kSlowOrReverse = 4 };

struct RateState {
    int paused = 0;
    int rateExponent = 0;
    int reverse = 0;
    int playState = kIdle;
    int resyncPosition = 1;
};

// One engine call: OV_Pause (value = 1 pause, 0 resume) or OV_SetPlayRate
// (value = rate, reverse).
struct EngineStep {
    enum Op { Pause, SetRate } op;
    int value;
    int reverse;
    bool operator==(const EngineStep& o) const { return op == o.op && value == o.value && reverse == o.reverse; }
};

enum class RateLabel { Unchanged, Forward, Reverse, Paused };

struct RateResult {
    std::vector<EngineStep> steps;
    RateLabel label = RateLabel::Unchanged;
};

// With an open group (the panel does nothing without one; Play without one
// plays the list's selection instead).
RateResult PlayCommand(RateState& s);
RateResult PauseCommand(RateState& s);
RateResult FasterCommand(RateState& s);
RateResult SlowerCommand(RateState& s);
RateResult RewindCommand(RateState& s);

// "1X", "2X" ... "256X", "1/2X" ... "1/256X".
std::wstring ForwardRateText(int rateExponent);
// "-2X" ... "-32X".
std::wstring ReverseRateText(int rateExponent);
