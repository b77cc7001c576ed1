// What part of the Web Mercator plane a map window shows: the plane point
// at the window's centre and the plane metres per pixel. Screen positions
// are in pixels from the window's top-left corner, continuous: pixel (i, j)
// covers [i, i + 1) x [j, j + 1), so a position draws in the pixel floor().
#pragma once

#include "Mercator.h"

namespace geodraw {

// Zoom level z shows the world in 256 * 2^z pixels.
constexpr int kMinZoom = 0;
constexpr int kMaxZoom = 20;
// The first position of a map is shown at this level (about 4.8 m a pixel
// at the equator, 4.1 m at 30 degrees).
constexpr int kFirstPositionZoom = 15;

double MetresPerPixelAtZoom(double zoom);

struct ScreenPoint {
    double x = 0;
    double y = 0;
};

class MapView {
public:
    // The whole world, centred (ShowWorld).
    MapView(int width = 1, int height = 1);

    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }

    WorldPoint Center() const { return center_; }
    double MetresPerPixel() const { return metresPerPixel_; }
    // The centre is kept inside the world square.
    void CenterOn(WorldPoint p);
    void CenterOn(WorldPoint p, int zoom);
    // The world square, centred, as large as the window holds it (but not
    // beyond the zoom levels' range).
    void ShowWorld();

    ScreenPoint ToScreen(WorldPoint p) const;
    WorldPoint ToWorld(ScreenPoint s) const;

    // Multiplies the scale by `factor` (2 = twice as large, half the metres
    // per pixel) so that the plane point at `anchor` stays there. The scale
    // stays within the zoom levels' range; false when it did not change.
    bool ZoomAbout(ScreenPoint anchor, double factor);
    // Moves the picture by (dx, dy) pixels, as a drag does.
    void PanBy(double dx, double dy);
    // When `p` lies outside the middle half of the window (the centred
    // rectangle of half its width and half its height), centres the view on
    // it; true when the view moved.
    bool KeepInMiddleHalf(WorldPoint p);

private:
    void ClampCenter();
    static double ClampScale(double metresPerPixel);

    int width_;
    int height_;
    WorldPoint center_;
    double metresPerPixel_;
};

}  // namespace geodraw
