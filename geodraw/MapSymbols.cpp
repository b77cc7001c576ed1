#include "MapSymbols.h"

#include "Mercator.h"

#include <math.h>

namespace geodraw {

std::array<POINT, 4> VehicleArrow(int cx, int cy, int direction) {
    // Pointing north: tip up, back corners below, the notch between them.
    static const double kShape[4][2] = {{0, -10}, {7, 7}, {0, 3}, {-7, 7}};
    int sector = ((direction % 8) + 8) % 8;
    double a = sector * kPi / 4, c = cos(a), s = sin(a);
    std::array<POINT, 4> points;
    for (int i = 0; i < 4; ++i) {
        // Clockwise on screen, where y grows downwards.
        double x = kShape[i][0] * c - kShape[i][1] * s;
        double y = kShape[i][0] * s + kShape[i][1] * c;
        points[i] = POINT{LONG(cx + floor(x + 0.5)), LONG(cy + floor(y + 0.5))};
    }
    return points;
}

RECT FlagBounds(int x, int y) {
    return RECT{x - 4, y - kFlagPoleHeight - 1, x + kFlagLength + 2, y + 4};
}

OverlayLayout LayoutOverlays(int width, int height) {
    OverlayLayout l;
    const int margin = 12, arrowWidth = 26, arrowHeight = 50;
    l.northArrow = RECT{width - margin - arrowWidth, margin, width - margin, margin + arrowHeight};
    int mid = (l.northArrow.left + l.northArrow.right) / 2;
    l.northTip = POINT{mid, l.northArrow.top + 18};
    l.northTail = POINT{mid, l.northArrow.bottom - 2};
    l.scaleOrigin = POINT{margin + 6, height - margin - 4};
    l.scaleMaxPixels = 120;
    return l;
}

}  // namespace geodraw
