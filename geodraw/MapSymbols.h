// Where the map's symbols go: the vehicle's arrow by its heading, the
// start flag, and the places of the north arrow and the scale bar in a
// window of a given size. Pixel geometry only; MapPainter draws them.
#pragma once

#include <windows.h>

#include <array>

namespace geodraw {

// The vehicle: a white disc with a coloured rim, the arrow inside it, and
// for the selected vehicle a halo ring around the disc. All centred on the
// pixel of the vehicle's position.
constexpr int kVehicleDiscRadius = 12;
constexpr int kVehicleHaloRadius = 16;   // outer edge of the halo ring
constexpr int kVehicleHaloWidth = 3;

// The arrow for compass direction `direction` (0 = north, each step 45
// degrees clockwise; any int is taken modulo 8), around the pixel
// (cx, cy): tip, right back corner, notch, left back corner.
std::array<POINT, 4> VehicleArrow(int cx, int cy, int direction);

// The start flag planted at pixel (x, y): the pole rises from it, the
// pennant flies to the right of its top.
constexpr int kFlagPoleHeight = 22;
constexpr int kFlagLength = 14;
RECT FlagBounds(int x, int y);

struct OverlayLayout {
    RECT northArrow;     // the north arrow with its "N"
    POINT northTip;      // tip of the arrow
    POINT northTail;     // middle of its base
    POINT scaleOrigin;   // left end of the scale bar's base line
    int scaleMaxPixels;  // the bar's longest length
};
// North arrow in the top right corner, scale bar in the bottom left.
OverlayLayout LayoutOverlays(int width, int height);

}  // namespace geodraw
