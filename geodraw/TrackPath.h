// A track on screen: its points through the view into polylines ready for
// one PolyPolyline call. Stretches outside the window (beyond a margin)
// are left out and the segments that cross the margin are cut at it, so
// every coordinate stays small whatever the zoom; a point that falls in
// the same pixel as the one before it adds nothing, so a long track costs
// no more than the pixels it covers.
#pragma once

#include "MapView.h"

#include <windows.h>

#include <vector>

namespace geodraw {

struct PolylineRuns {
    std::vector<POINT> points;
    std::vector<DWORD> counts;   // points of each polyline, each at least 2
    void Clear() {
        points.clear();
        counts.clear();
    }
    // The pixels the polylines pass through, grown by `pen` on every side;
    // empty when there are none.
    RECT Bounds(int pen) const;
};

// Appends the polylines of `points[0 .. count)` (plane coordinates) as the
// view shows them, within `margin` pixels around the window. A stretch that
// stays inside one pixel still draws that pixel: its polyline is the pixel
// and the one to its right.
void AppendTrackRuns(const WorldPoint* points, size_t count, const MapView& view, double margin,
                     PolylineRuns* runs);

}  // namespace geodraw
