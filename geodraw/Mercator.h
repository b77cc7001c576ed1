// Web Mercator: longitude and latitude (WGS-84 degrees) to plane
// coordinates in metres and back. The plane's x grows eastwards, its y
// northwards; the world is the square of side 2 * pi * kEarthRadius
// centred on (0, 0), between the latitudes -kMaxLatitude and kMaxLatitude.
#pragma once

namespace geodraw {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6378137.0;
constexpr double kWorldHalf = kPi * kEarthRadius;            // metres from the centre to an edge
constexpr double kMaxLatitude = 85.05112877980659;            // the square's top edge

struct WorldPoint {
    double x = 0;   // metres, east
    double y = 0;   // metres, north
};

// Latitudes beyond the square are clamped to its edge.
WorldPoint LonLatToWorld(double longitude, double latitude);
void WorldToLonLat(WorldPoint p, double* longitude, double* latitude);

// Plane metres per metre on the ground at `latitude`: the plane stretches
// by 1 / cos(latitude), so a scale bar divides by this.
double PlaneStretch(double latitude);

}  // namespace geodraw
