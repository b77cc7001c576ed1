// Draws a map with GDI. The picture has two layers: the base (paper, grid
// lines, tracks), which the map window keeps in a bitmap and changes only
// when the view changes or a track grows, and the overlays (grid labels,
// start flags, vehicles, north arrow, scale bar), drawn over a copy of the
// base for every part of the window that is painted.
#pragma once

#include "MapScene.h"
#include "MapView.h"
#include "TrackPath.h"

#include <windows.h>

namespace geodraw {

// The colours the map is drawn in.
namespace palette {
constexpr COLORREF kPaper = RGB(242, 239, 233);
constexpr COLORREF kBeyondWorld = RGB(214, 218, 222);
constexpr COLORREF kGrid = RGB(204, 209, 217);
constexpr COLORREF kGridLabel = RGB(60, 66, 78);
constexpr COLORREF kHalo = RGB(255, 255, 255);
constexpr COLORREF kDefaultTrack = RGB(230, 0, 0);
constexpr COLORREF kVehicle = RGB(21, 88, 176);        // the arrow, the disc's rim, the speed box
constexpr COLORREF kVehicleDisc = RGB(255, 255, 255);
constexpr COLORREF kSelectedHalo = RGB(92, 170, 255);  // ring around the selected vehicle
constexpr COLORREF kFlag = RGB(36, 160, 72);
constexpr COLORREF kFlagEdge = RGB(18, 100, 44);
constexpr COLORREF kPole = RGB(60, 60, 60);
constexpr COLORREF kSymbol = RGB(40, 44, 52);          // north arrow, scale bar
}  // namespace palette

constexpr int kTrackWidth = 3;

class MapPainter {
public:
    MapPainter();
    ~MapPainter();
    MapPainter(const MapPainter&) = delete;
    MapPainter& operator=(const MapPainter&) = delete;

    // The whole base picture; every track counts as drawn afterwards.
    void PaintBase(HDC dc, const MapView& view, MapScene& scene);
    // Adds the track's points from `track.drawn` on to the base picture
    // (joined to the point before them) and counts them as drawn; gives the
    // pixels touched (empty when none).
    RECT PaintTrackTail(HDC dc, const MapView& view, Track& track);
    // The overlays, over whatever the DC's clipping lets through.
    void PaintOverlays(HDC dc, const MapView& view, const MapScene& scene);

    // The pixels a vehicle's or a marker's symbol covers with its labels;
    // empty when it is not placed.
    RECT VehicleBounds(const MapView& view, const Vehicle& vehicle);
    RECT MarkerBounds(const MapView& view, const Marker& marker) const;
    // The area of the vehicle's disc, where its tooltip shows.
    RECT VehicleHotSpot(const MapView& view, const Vehicle& vehicle) const;

private:
    void PaintTrack(HDC dc, const Track& track);
    void PaintGridLabels(HDC dc, const MapView& view);
    void PaintMarker(HDC dc, const MapView& view, const Marker& marker);
    void PaintVehicle(HDC dc, const MapView& view, const Vehicle& vehicle, bool selected);
    void PaintNorthArrow(HDC dc, const MapView& view);
    void PaintScaleBar(HDC dc, const MapView& view);
    SIZE TextSize(HFONT font, const std::wstring& text);

    PolylineRuns runs_;
    HDC measure_;
    HFONT labelFont_;
    HFONT speedFont_;
    HFONT northFont_;
    HBITMAP white_;   // one white pixel, for the scale bar's translucent backing
};

}  // namespace geodraw
