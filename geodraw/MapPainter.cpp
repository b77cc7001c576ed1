#include "MapPainter.h"

#include "Graticule.h"
#include "MapSymbols.h"
#include "ScaleBar.h"

#include <math.h>

namespace geodraw {

namespace {

// Symbols further out than this are not drawn (and never reach GDI's
// coordinate limits).
const double kSymbolMargin = 200;
const double kTrackMargin = 8;
const DWORD kTrackPiece = 8;  // segments drawn by one Polyline call

HFONT MakeFont(int pixels, int weight) {
    return CreateFontW(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

// The pixel of a plane point, when it is near enough to the window.
bool SymbolPixel(const MapView& view, WorldPoint p, POINT* pixel) {
    ScreenPoint s = view.ToScreen(p);
    if (s.x < -kSymbolMargin || s.y < -kSymbolMargin || s.x > view.Width() + kSymbolMargin ||
        s.y > view.Height() + kSymbolMargin)
        return false;
    *pixel = POINT{LONG(floor(s.x)), LONG(floor(s.y))};
    return true;
}

void Union(RECT* into, const RECT& r) {
    if (IsRectEmpty(into))
        *into = r;
    else
        UnionRect(into, into, &r);
}

// GDI objects selected for one drawing step and put back after it.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object, bool owned = true) : dc_(dc), object_(object), owned_(owned) {
        old_ = SelectObject(dc, object);
    }
    ~Selected() {
        SelectObject(dc_, old_);
        if (owned_) DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
    bool owned_;
};

HPEN SolidPen(COLORREF colour, int width = 1) {
    return CreatePen(PS_SOLID, width, colour);
}

HPEN RoundPen(COLORREF colour, int width) {
    LOGBRUSH brush = {BS_SOLID, colour, 0};
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, DWORD(width), &brush, 0,
                        nullptr);
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// Text with a one-pixel light halo, legible over lines of any colour.
void HaloText(HDC dc, int x, int y, const std::wstring& text, COLORREF colour) {
    int n = int(text.size());
    SetTextColor(dc, palette::kHalo);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy) TextOutW(dc, x + dx, y + dy, text.c_str(), n);
    SetTextColor(dc, colour);
    TextOutW(dc, x, y, text.c_str(), n);
}

}  // namespace

MapPainter::MapPainter()
    : measure_(CreateCompatibleDC(nullptr)),
      labelFont_(MakeFont(12, FW_NORMAL)),
      speedFont_(MakeFont(12, FW_BOLD)),
      northFont_(MakeFont(14, FW_BOLD)) {
    HDC screen = GetDC(nullptr);
    white_ = CreateCompatibleBitmap(screen, 1, 1);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(measure_, white_);
    SetPixelV(measure_, 0, 0, RGB(255, 255, 255));
    SelectObject(measure_, old);
}

MapPainter::~MapPainter() {
    DeleteDC(measure_);
    DeleteObject(labelFont_);
    DeleteObject(speedFont_);
    DeleteObject(northFont_);
    DeleteObject(white_);
}

SIZE MapPainter::TextSize(HFONT font, const std::wstring& text) {
    SIZE size = {0, 0};
    HGDIOBJ old = SelectObject(measure_, font);
    GetTextExtentPoint32W(measure_, text.c_str(), int(text.size()), &size);
    SelectObject(measure_, old);
    return size;
}

void MapPainter::PaintBase(HDC dc, const MapView& view, MapScene& scene) {
    RECT all = {0, 0, view.Width(), view.Height()};
    ScreenPoint nw = view.ToScreen(WorldPoint{-kWorldHalf, kWorldHalf});
    ScreenPoint se = view.ToScreen(WorldPoint{kWorldHalf, -kWorldHalf});
    RECT world = {LONG(fmax(floor(nw.x), -1)), LONG(fmax(floor(nw.y), -1)),
                  LONG(fmin(floor(se.x), view.Width() + 1.0)), LONG(fmin(floor(se.y), view.Height() + 1.0))};
    if (world.left > 0 || world.top > 0 || world.right < all.right || world.bottom < all.bottom)
        FillSolid(dc, all, palette::kBeyondWorld);
    FillSolid(dc, world, palette::kPaper);

    Graticule grid = GraticuleFor(view);
    {
        Selected pen(dc, SolidPen(palette::kGrid));
        for (double lon : grid.longitudes) {
            LONG x = LONG(floor(view.ToScreen(LonLatToWorld(lon, 0)).x));
            MoveToEx(dc, x, world.top, nullptr);
            LineTo(dc, x, world.bottom);
        }
        for (double lat : grid.latitudes) {
            LONG y = LONG(floor(view.ToScreen(LonLatToWorld(0, lat)).y));
            MoveToEx(dc, world.left, y, nullptr);
            LineTo(dc, world.right, y);
        }
    }
    for (auto& item : scene.tracks) {
        Track& track = item.second;
        runs_.Clear();
        AppendTrackRuns(track.points.data(), track.points.size(), view, kTrackMargin, &runs_);
        PaintTrack(dc, track);
        track.drawn = track.points.size();
    }
}

RECT MapPainter::PaintTrackTail(HDC dc, const MapView& view, Track& track) {
    RECT touched = {0, 0, 0, 0};
    size_t n = track.points.size();
    if (track.drawn >= n) return touched;
    size_t from = track.drawn ? track.drawn - 1 : 0;
    runs_.Clear();
    AppendTrackRuns(track.points.data() + from, n - from, view, kTrackMargin, &runs_);
    PaintTrack(dc, track);
    track.drawn = n;
    return runs_.Bounds(kTrackWidth);
}

void MapPainter::PaintTrack(HDC dc, const Track& track) {
    if (runs_.counts.empty()) return;
    Selected pen(dc, RoundPen(track.colour, kTrackWidth));
    // In short pieces: a wide pen's outline is built for a whole polyline
    // at once, at a cost that grows faster than its length (a 50,000-point
    // polyline takes seconds where pieces of eight segments take
    // milliseconds). Round caps make the pieces' joints look like joins.
    const POINT* run = runs_.points.data();
    for (DWORD count : runs_.counts) {
        for (DWORD i = 0; i + 1 < count; i += kTrackPiece) {
            DWORD n = count - i < kTrackPiece + 1 ? count - i : kTrackPiece + 1;
            Polyline(dc, run + i, int(n));
        }
        run += count;
    }
}

void MapPainter::PaintOverlays(HDC dc, const MapView& view, const MapScene& scene) {
    SetBkMode(dc, TRANSPARENT);
    PaintGridLabels(dc, view);
    for (const auto& item : scene.tracks)
        for (const Marker& m : item.second.markers) PaintMarker(dc, view, m);
    const Vehicle* selected = nullptr;
    for (const Vehicle& v : scene.vehicles) {
        if (v.id == scene.selected)
            selected = &v;
        else
            PaintVehicle(dc, view, v, false);
    }
    if (selected) PaintVehicle(dc, view, *selected, true);
    PaintNorthArrow(dc, view);
    PaintScaleBar(dc, view);
}

void MapPainter::PaintGridLabels(HDC dc, const MapView& view) {
    Graticule grid = GraticuleFor(view);
    OverlayLayout layout = LayoutOverlays(view.Width(), view.Height());
    Selected font(dc, labelFont_, false);
    int lineHeight = TextSize(labelFont_, L"0").cy;
    // Meridians: along the top edge, right of their line.
    RECT keepClear = layout.northArrow;
    InflateRect(&keepClear, 6, 6);
    LONG lastRight = LONG_MIN;
    for (double lon : grid.longitudes) {
        std::wstring text = LongitudeLabel(lon, grid.decimals);
        SIZE size = TextSize(labelFont_, text);
        LONG x = LONG(floor(view.ToScreen(LonLatToWorld(lon, 0)).x)) + 4;
        RECT r = {x, 3, x + size.cx, 3 + size.cy}, overlap;
        if (x < 2 || r.right > view.Width() - 2 || x < lastRight + 8 || IntersectRect(&overlap, &r, &keepClear))
            continue;
        HaloText(dc, x, 3, text, palette::kGridLabel);
        lastRight = r.right;
    }
    // Parallels: along the left edge, above their line, below the top row
    // and clear of the scale bar.
    int top = 3 + lineHeight + 4, bottom = layout.scaleOrigin.y - 28;
    for (double lat : grid.latitudes) {
        std::wstring text = LatitudeLabel(lat, grid.decimals);
        LONG y = LONG(floor(view.ToScreen(LonLatToWorld(0, lat)).y)) - lineHeight - 1;
        if (y < top || y + lineHeight > bottom) continue;
        HaloText(dc, 4, y, text, palette::kGridLabel);
    }
}

RECT MapPainter::MarkerBounds(const MapView& view, const Marker& marker) const {
    RECT r = {0, 0, 0, 0};
    POINT p;
    if (marker.placed && SymbolPixel(view, marker.position, &p)) r = FlagBounds(p.x, p.y);
    return r;
}

void MapPainter::PaintMarker(HDC dc, const MapView& view, const Marker& marker) {
    POINT p;
    if (!marker.placed || !SymbolPixel(view, marker.position, &p)) return;
    int top = p.y - kFlagPoleHeight;
    POINT pennant[3] = {{p.x + 1, top}, {p.x + kFlagLength, top + 5}, {p.x + 1, top + 10}};
    {
        Selected pen(dc, SolidPen(palette::kFlagEdge));
        Selected brush(dc, CreateSolidBrush(palette::kFlag));
        Polygon(dc, pennant, 3);
    }
    {
        Selected pen(dc, SolidPen(palette::kPole, 2));
        MoveToEx(dc, p.x, p.y, nullptr);
        LineTo(dc, p.x, top - 1);
    }
    Selected pen(dc, SolidPen(palette::kPole));
    Selected brush(dc, CreateSolidBrush(palette::kHalo));
    Ellipse(dc, p.x - 3, p.y - 3, p.x + 4, p.y + 4);
}

RECT MapPainter::VehicleHotSpot(const MapView& view, const Vehicle& vehicle) const {
    RECT r = {0, 0, 0, 0};
    POINT p;
    if (vehicle.placed && SymbolPixel(view, vehicle.position, &p))
        r = RECT{p.x - kVehicleDiscRadius, p.y - kVehicleDiscRadius, p.x + kVehicleDiscRadius + 1,
                 p.y + kVehicleDiscRadius + 1};
    return r;
}

RECT MapPainter::VehicleBounds(const MapView& view, const Vehicle& vehicle) {
    RECT r = {0, 0, 0, 0};
    POINT p;
    if (!vehicle.placed || !SymbolPixel(view, vehicle.position, &p)) return r;
    const int h = kVehicleHaloRadius + 1;   // a pixel of slack around the ring
    r = RECT{p.x - h, p.y - h, p.x + h + 1, p.y + h + 1};
    if (!vehicle.speed.empty()) {
        SIZE s = TextSize(speedFont_, vehicle.speed);
        int left = p.x + kVehicleHaloRadius + 3;
        Union(&r, RECT{left, p.y - s.cy / 2 - 3, left + s.cx + 11, p.y - s.cy / 2 + s.cy + 4});
    }
    if (!vehicle.name.empty()) {
        SIZE s = TextSize(labelFont_, vehicle.name);
        int top = p.y - kVehicleHaloRadius - 2 - s.cy;
        Union(&r, RECT{p.x - s.cx / 2 - 2, top - 2, p.x - s.cx / 2 + s.cx + 2, top + s.cy + 2});
    }
    return r;
}

void MapPainter::PaintVehicle(HDC dc, const MapView& view, const Vehicle& vehicle, bool selected) {
    POINT p;
    if (!vehicle.placed || !SymbolPixel(view, vehicle.position, &p)) return;
    const int h = kVehicleHaloRadius, d = kVehicleDiscRadius;
    if (selected) {
        Selected pen(dc, SolidPen(palette::kSelectedHalo));
        Selected brush(dc, CreateSolidBrush(palette::kSelectedHalo));
        Ellipse(dc, p.x - h, p.y - h, p.x + h + 1, p.y + h + 1);
    }
    {
        Selected pen(dc, SolidPen(palette::kVehicle));
        Selected brush(dc, CreateSolidBrush(palette::kVehicleDisc));
        Ellipse(dc, p.x - d, p.y - d, p.x + d + 1, p.y + d + 1);
    }
    {
        std::array<POINT, 4> arrow = VehicleArrow(p.x, p.y, vehicle.direction);
        Selected pen(dc, SolidPen(palette::kVehicle));
        Selected brush(dc, CreateSolidBrush(palette::kVehicle));
        Polygon(dc, arrow.data(), 4);
    }
    if (!vehicle.speed.empty()) {
        Selected font(dc, speedFont_, false);
        SIZE s = TextSize(speedFont_, vehicle.speed);
        int left = p.x + h + 3, top = p.y - s.cy / 2 - 3;
        {
            Selected pen(dc, SolidPen(palette::kHalo));
            Selected brush(dc, CreateSolidBrush(palette::kVehicle));
            RoundRect(dc, left, top, left + s.cx + 10, top + s.cy + 6, 6, 6);
        }
        SetTextColor(dc, palette::kHalo);
        TextOutW(dc, left + 5, top + 3, vehicle.speed.c_str(), int(vehicle.speed.size()));
    }
    if (!vehicle.name.empty()) {
        Selected font(dc, labelFont_, false);
        SIZE s = TextSize(labelFont_, vehicle.name);
        HaloText(dc, p.x - s.cx / 2, p.y - h - 2 - s.cy, vehicle.name, palette::kVehicle);
    }
}

void MapPainter::PaintNorthArrow(HDC dc, const MapView& view) {
    OverlayLayout l = LayoutOverlays(view.Width(), view.Height());
    const LONG mid = l.northTip.x, base = l.northTail.y, half = 8;
    POINT notch = {mid, base - 6};
    POINT left[3] = {l.northTip, {mid - half, base}, notch};
    POINT right[3] = {l.northTip, notch, {mid + half, base}};
    {
        Selected pen(dc, SolidPen(palette::kHalo, 3));
        POINT outline[4] = {l.northTip, {mid - half, base}, notch, {mid + half, base}};
        Selected brush(dc, GetStockObject(NULL_BRUSH), false);
        Polygon(dc, outline, 4);
    }
    {
        Selected pen(dc, SolidPen(palette::kSymbol));
        Selected brush(dc, CreateSolidBrush(palette::kSymbol));
        Polygon(dc, left, 3);
    }
    {
        Selected pen(dc, SolidPen(palette::kSymbol));
        Selected brush(dc, CreateSolidBrush(palette::kHalo));
        Polygon(dc, right, 3);
    }
    Selected font(dc, northFont_, false);
    SIZE s = TextSize(northFont_, L"N");
    HaloText(dc, mid - s.cx / 2 + 1, l.northArrow.top, L"N", palette::kSymbol);
}

void MapPainter::PaintScaleBar(HDC dc, const MapView& view) {
    OverlayLayout l = LayoutOverlays(view.Width(), view.Height());
    double lon, lat;
    WorldToLonLat(view.Center(), &lon, &lat);
    ScaleBar bar = ChooseScaleBar(view.MetresPerPixel() / PlaneStretch(lat), l.scaleMaxPixels);
    if (bar.pixels < 1) return;
    const LONG x0 = l.scaleOrigin.x, y = l.scaleOrigin.y, length = LONG(floor(bar.pixels + 0.5));
    Selected font(dc, labelFont_, false);
    SIZE s = TextSize(labelFont_, bar.label);
    // A translucent white backing under the bar and its label.
    RECT back = {x0 - 6, y - s.cy - 9, x0 + (length > s.cx ? length : s.cx) + 7, y + 5};
    HGDIOBJ old = SelectObject(measure_, white_);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 170, 0};
    AlphaBlend(dc, back.left, back.top, back.right - back.left, back.bottom - back.top, measure_, 0, 0, 1, 1,
               blend);
    SelectObject(measure_, old);
    // The bar: its base line from x0 over `length` pixels (two pixels
    // thick, on rows y - 1 and y), with ticks up at both ends.
    RECT line = {x0, y - 1, x0 + length, y + 1};
    FillSolid(dc, line, palette::kSymbol);
    FillSolid(dc, RECT{x0, y - 7, x0 + 2, y + 1}, palette::kSymbol);
    FillSolid(dc, RECT{x0 + length - 2, y - 7, x0 + length, y + 1}, palette::kSymbol);
    SetTextColor(dc, palette::kSymbol);
    TextOutW(dc, x0 + 1, y - s.cy - 6, bar.label.c_str(), int(bar.label.size()));
}

}  // namespace geodraw
