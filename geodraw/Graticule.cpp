#include "Graticule.h"

#include "RoundSteps.h"

#include <math.h>
#include <stdio.h>

namespace geodraw {

namespace {

const double kMetresPerDegree = kEarthRadius * kPi / 180.0;   // along the plane's x
const size_t kMaxLines = 200;

std::wstring AngleLabel(double value, int decimals, wchar_t positive, wchar_t negative, double plain) {
    double unit = pow(10.0, -decimals);
    double size = fabs(value);
    wchar_t text[48];
    if (size < unit / 2)
        return L"0\u00B0";
    if (plain > 0 && fabs(size - plain) < unit / 2) {
        swprintf(text, sizeof text / sizeof text[0], L"%.*f\u00B0", decimals, plain);
        return text;
    }
    swprintf(text, sizeof text / sizeof text[0], L"%.*f\u00B0%lc", decimals, size,
             value > 0 ? positive : negative);
    return text;
}

}  // namespace

double GridStep(double metresPerPixel) {
    double step = RoundStepAtLeast(kMinGridSpacing * metresPerPixel / kMetresPerDegree);
    return step < kMaxGridStep ? step : kMaxGridStep;
}

std::vector<double> GridValues(double from, double to, double step) {
    std::vector<double> values;
    if (!(step > 0) || !(to >= from)) return values;
    double first = ceil(from / step - 1e-9), last = floor(to / step + 1e-9);
    for (double k = first; k <= last && values.size() < kMaxLines; ++k)
        values.push_back(k * step);
    return values;
}

Graticule GraticuleFor(const MapView& view) {
    Graticule g;
    g.step = GridStep(view.MetresPerPixel());
    g.decimals = StepDecimals(g.step);
    double west, north, east, south;
    WorldToLonLat(view.ToWorld(ScreenPoint{0, 0}), &west, &north);
    WorldToLonLat(view.ToWorld(ScreenPoint{double(view.Width()), double(view.Height())}), &east, &south);
    if (west < -180) west = -180;
    if (east > 180) east = 180;
    if (south < -kMaxLatitude) south = -kMaxLatitude;
    if (north > kMaxLatitude) north = kMaxLatitude;
    g.longitudes = GridValues(west, east, g.step);
    g.latitudes = GridValues(south, north, g.step);
    return g;
}

std::wstring LongitudeLabel(double longitude, int decimals) {
    return AngleLabel(longitude, decimals, L'E', L'W', 180);
}

std::wstring LatitudeLabel(double latitude, int decimals) {
    return AngleLabel(latitude, decimals, L'N', L'S', 0);
}

}  // namespace geodraw
