// The scale bar: a round length of ground ("200 m", "5 km") and how many
// pixels it takes at the view's centre.
#pragma once

#include <string>

namespace geodraw {

struct ScaleBar {
    double metres = 0;
    double pixels = 0;
    std::wstring label;
};

// The longest round length (1-2-5 ladder, in metres) that fits in
// `maxPixels` at `groundMetresPerPixel`.
ScaleBar ChooseScaleBar(double groundMetresPerPixel, double maxPixels);

// "1 m", "500 m", "1 km", "20 km"; lengths under a metre in centimetres.
std::wstring DistanceLabel(double metres);

}  // namespace geodraw
