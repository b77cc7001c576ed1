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

// A recorder's pictures: 25 a second.
const int kPictureMs = 40;

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

// The speed the engine's pacing plays at for a rate exponent, as a factor
// of normal speed (negative: backwards), for a recording whose pictures
// are `pictureMs` apart. The engine's steps are no powers of two: forward
// fast steps take 9 ms off each picture's interval (8 for a camera file)
// for rates 1 to 3, then play I-frames only at 2^(rate - 2); slow steps
// show each picture 2·|rate| times as long; backwards (I-frames only) the
// steps are 2·|rate| times as fast.
double PlaySpeed(int rateExponent, int reverse, int pictureMs = kPictureMs, bool cameraFile = false);
// The label of a speed: "1X", "1.3X", "16X", "1/6X", "-8X".
std::wstring SpeedText(double speed);

// The picture interval a recording file name tells (its frame-rate
// character: a digit, or 'a' for 10 up to 'p' for 25 and on); kPictureMs
// for a name that tells none.
int PictureMsOfName(const wchar_t* name);

// The labels of the rate buttons' steps: the speed they play at.
std::wstring ForwardRateText(int rateExponent, int pictureMs = kPictureMs, bool cameraFile = false);
std::wstring ReverseRateText(int rateExponent);
