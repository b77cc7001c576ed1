#include "RoundSteps.h"

#include <gtest/gtest.h>

using namespace geodraw;

TEST(RoundSteps, AtLeast) {
    const double cases[][2] = {
        {0.3, 0.5}, {1, 1}, {1.01, 2}, {2, 2}, {2.5, 5}, {5.1, 10}, {73, 100}, {0.00013, 0.0002},
        {0.1 + 0.2 - 0.3 + 0.1, 0.1},   // 0.1 with a rounding error
        {0.0039, 0.005}, {126.6, 200},
    };
    for (const auto& c : cases) EXPECT_NEAR(RoundStepAtLeast(c[0]), c[1], c[1] * 1e-12) << c[0];
}

TEST(RoundSteps, AtMost) {
    const double cases[][2] = {
        {412, 200}, {1000, 1000}, {999, 500}, {0.7, 0.5}, {3, 2}, {1.9, 1}, {19.9, 10}, {0.12, 0.1},
        {15e6, 10e6}, {5, 5},
    };
    for (const auto& c : cases) EXPECT_NEAR(RoundStepAtMost(c[0]), c[1], c[1] * 1e-12) << c[0];
}

TEST(RoundSteps, DecimalsOfAStep) {
    const struct { double step; int decimals; } cases[] = {
        {0.05, 2}, {0.2, 1}, {0.1, 1}, {5, 0}, {1, 0}, {20, 0}, {0.0001, 4}, {0.0005, 4}, {0.002, 3},
    };
    for (const auto& c : cases) EXPECT_EQ(StepDecimals(c.step), c.decimals) << c.step;
}
