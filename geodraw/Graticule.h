// The latitude and longitude grid: which lines a view shows and the texts
// at the window's edges ("120.15°E", "30.2°N").
#pragma once

#include "MapView.h"

#include <string>
#include <vector>

namespace geodraw {

// Lines are at least this far apart on screen where they are closest (the
// meridians; Mercator spreads the parallels further).
constexpr double kMinGridSpacing = 90.0;

// The grid step in degrees for a view: a round number (1-2-5 ladder), the
// smallest that keeps meridians kMinGridSpacing pixels apart, but never
// more than kMaxGridStep (the whole world still gets a grid).
constexpr double kMaxGridStep = 50.0;
double GridStep(double metresPerPixel);

// The multiples of `step` within [from, to], lowest first.
std::vector<double> GridValues(double from, double to, double step);

struct Graticule {
    double step = 0;                  // degrees
    int decimals = 0;                 // of the labels
    std::vector<double> longitudes;   // meridians in view, west to east
    std::vector<double> latitudes;    // parallels in view, south to north
};
// The grid lines that cross the view (inside the world square).
Graticule GraticuleFor(const MapView& view);

// Edge label of a meridian: "120.15°E", "75°W", "0°", "180°".
std::wstring LongitudeLabel(double longitude, int decimals);
// Edge label of a parallel: "30.5°N", "12°S", "0°".
std::wstring LatitudeLabel(double latitude, int decimals);

}  // namespace geodraw
