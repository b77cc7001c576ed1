#include "ScaleBar.h"

#include "RoundSteps.h"

#include <math.h>
#include <stdio.h>

namespace geodraw {

ScaleBar ChooseScaleBar(double groundMetresPerPixel, double maxPixels) {
    ScaleBar bar;
    if (!(groundMetresPerPixel > 0) || !(maxPixels > 0)) return bar;
    bar.metres = RoundStepAtMost(groundMetresPerPixel * maxPixels);
    bar.pixels = bar.metres / groundMetresPerPixel;
    bar.label = DistanceLabel(bar.metres);
    return bar;
}

std::wstring DistanceLabel(double metres) {
    wchar_t text[32];
    if (metres >= 1000)
        swprintf(text, 32, L"%g km", metres / 1000);
    else if (metres >= 1)
        swprintf(text, 32, L"%g m", metres);
    else
        swprintf(text, 32, L"%g cm", floor(metres * 100 + 0.5));
    return text;
}

}  // namespace geodraw
