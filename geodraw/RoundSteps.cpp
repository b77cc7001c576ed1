#include "RoundSteps.h"

#include <math.h>

namespace geodraw {

namespace {
const double kMantissas[] = {1, 2, 5};
// A hair of tolerance, so that a value that is round already (but carries a
// rounding error from the arithmetic that made it) is taken as it is.
const double kSlack = 1e-9;
}  // namespace

double RoundStepAtLeast(double value) {
    double decade = pow(10.0, floor(log10(value)));
    for (int i = 0; i < 2; ++i, decade *= 10)
        for (double m : kMantissas)
            if (m * decade >= value * (1 - kSlack)) return m * decade;
    return 10 * decade;
}

double RoundStepAtMost(double value) {
    double decade = pow(10.0, floor(log10(value)) + 1);
    for (int i = 0; i < 2; ++i, decade /= 10)
        for (int k = 2; k >= 0; --k)
            if (kMantissas[k] * decade <= value * (1 + kSlack)) return kMantissas[k] * decade;
    return decade;
}

int StepDecimals(double step) {
    int exponent = int(floor(log10(step) + kSlack));
    return exponent < 0 ? -exponent : 0;
}

}  // namespace geodraw
