// The 1-2-5 ladder of round numbers (..., 0.1, 0.2, 0.5, 1, 2, 5, 10, ...)
// that grid spacings and scale bar lengths are taken from.
#pragma once

namespace geodraw {

// The smallest round number not below `value` (value > 0).
double RoundStepAtLeast(double value);
// The largest round number not above `value` (value > 0).
double RoundStepAtMost(double value);
// Digits after the decimal point that multiples of a round `step` need:
// 0 for steps of 1 and more, 2 for 0.05, 4 for 0.0002.
int StepDecimals(double step);

}  // namespace geodraw
