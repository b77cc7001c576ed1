#include "Mercator.h"

#include <math.h>

namespace geodraw {

namespace {
const double kRadPerDeg = kPi / 180.0;
}

WorldPoint LonLatToWorld(double longitude, double latitude) {
    if (latitude > kMaxLatitude) latitude = kMaxLatitude;
    if (latitude < -kMaxLatitude) latitude = -kMaxLatitude;
    WorldPoint p;
    p.x = kEarthRadius * longitude * kRadPerDeg;
    p.y = kEarthRadius * log(tan(kPi / 4 + latitude * kRadPerDeg / 2));
    return p;
}

void WorldToLonLat(WorldPoint p, double* longitude, double* latitude) {
    *longitude = p.x / kEarthRadius / kRadPerDeg;
    *latitude = (2 * atan(exp(p.y / kEarthRadius)) - kPi / 2) / kRadPerDeg;
}

double PlaneStretch(double latitude) {
    return 1.0 / cos(latitude * kRadPerDeg);
}

}  // namespace geodraw
