// Repaint costs of the map with a long track: a 50,000-point drive drawn
// whole after every view change (a drag step, a wheel notch) at three
// scales, a repaint without a view change, and the cost and area of adding
// points one at a time. Run by scripts/bench under Wine and Xvfb.
#include "geodraw.h"

#include "MapTestDesktop.h"

#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <vector>

namespace {

const int kWidth = 800, kHeight = 600;
const int kTrackPoints = 50000;
const double kLon0 = 120.15, kLat0 = 30.28;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

struct Stats {
    std::vector<double> values;
    void Add(double v) { values.push_back(v); }
    double Median() {
        std::sort(values.begin(), values.end());
        return values.empty() ? 0 : values[values.size() / 2];
    }
    double Max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
    double Mean() const {
        double s = 0;
        for (double v : values) s += v;
        return values.empty() ? 0 : s / double(values.size());
    }
};

// A city drive: 5 m a fix, the heading wandering, turned back at the edges
// of a 10 x 7 km box.
class Drive {
public:
    void Next(char* x, char* y) {
        seed_ = seed_ * 1103515245u + 12345u;
        double turn = (double((seed_ >> 16) & 0x7FFF) / 32767.0 - 0.5) * 30;
        heading_ += turn;
        double rad = heading_ * 3.14159265358979 / 180;
        east_ += 5 * sin(rad);
        north_ += 5 * cos(rad);
        if (fabs(east_) > 5000 || fabs(north_) > 3500) heading_ += 180;
        snprintf(x, 32, "%.6lf", kLon0 + east_ / (111320.0 * cos(kLat0 * 3.14159265358979 / 180)));
        snprintf(y, 32, "%.6lf", kLat0 + north_ / 110574.0);
    }
    int Direction() const { return int(fmod(fmod(heading_, 360) + 360 + 22.5, 360) / 45) % 8; }

private:
    unsigned seed_ = 12345;
    double heading_ = 30, east_ = 0, north_ = 0;
};

void Wheel(HWND map, int notches) {
    POINT centre = {kWidth / 2, kHeight / 2};
    ClientToScreen(map, &centre);
    SendMessageW(map, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
}

// A drag of one pixel to the right and back, each step painted: the whole
// track drawn anew each time.
Stats DragRepaints(HWND map, int steps) {
    Stats s;
    SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 300));
    for (int i = 0; i < steps; ++i) {
        int x = i % 2 ? 400 : 401;
        double t0 = Now();
        SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 300));
        UpdateWindow(map);
        GdiFlush();
        s.Add(Now() - t0);
    }
    SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(400, 300));
    maptest::Pump(0);
    return s;
}

// Wheel in and out at the centre, each notch painted.
Stats WheelRepaints(HWND map, int notches) {
    Stats s;
    for (int i = 0; i < notches; ++i) {
        double t0 = Now();
        Wheel(map, i % 2 ? -1 : 1);
        UpdateWindow(map);
        GdiFlush();
        s.Add(Now() - t0);
    }
    if (notches % 2) Wheel(map, -1);
    maptest::PaintNow(map);
    return s;
}

// The whole window painted again with the view unchanged.
Stats ExposeRepaints(HWND map, int count) {
    Stats s;
    for (int i = 0; i < count; ++i) {
        double t0 = Now();
        InvalidateRect(map, nullptr, FALSE);
        UpdateWindow(map);
        GdiFlush();
        s.Add(Now() - t0);
    }
    return s;
}

void Report(const char* what, Stats s) {
    double median = s.Median();
    printf("  %-44s median %6.2f ms   max %6.2f ms\n", what, median, s.Max());
}

}  // namespace

int main() {
    maptest::Host host(0, 0, kWidth, kHeight);
    GEODRAW_HANDLE map = 0, track = 0;
    static int record[3];
    INT_PTR vehicle = reinterpret_cast<INT_PTR>(record);
    _MAP_Initialize();
    if (_MAP_InitMap(0, host.canvas, 0, "", "", 0, "default", &map) || _MAP_TKInsertTrack(map, &track)) {
        printf("bench_geodraw: no map\n");
        return 1;
    }
    HWND window = host.Map();
    _MAP_InsertVehicle(map, vehicle);
    _MAP_SelectVehicle(map, vehicle);
    _MAP_TKInsertMarker(track, 1, 1);

    printf("geodraw: a %d-point track in a %d x %d map\n", kTrackPoints, kWidth, kHeight);
    Drive drive;
    char x[32], y[32];
    drive.Next(x, y);
    _MAP_TKUpdateMarker(track, 1, "", x, y, 0, 5, "", "", 1, "", "");   // the view goes there
    _MAP_TKPushPoint(track, x, y);
    maptest::PaintNow(window);   // the base picture is there: each point is drawn into it as it comes
    double t0 = Now();
    for (int i = 1; i < kTrackPoints; ++i) {
        drive.Next(x, y);
        _MAP_TKPushPoint(track, x, y);
        _MAP_TKDrawPoint(track);
    }
    double built = Now() - t0;
    _MAP_UpdateVehicle(map, vehicle, x, y, drive.Direction(), 0, "45KMH", "", "speed: 45 km/h");
    maptest::PaintNow(window);
    printf("  pushed and drew %d points one by one, unpainted, in %.0f ms (%.1f us a point)\n", kTrackPoints - 1,
           built, built * 1000 / (kTrackPoints - 1));

    // The first position's scale (4.8 m a pixel): part of the drive outside.
    printf("full repaints (the whole track drawn again):\n");
    Report("zoom 15, drag step", DragRepaints(window, 40));
    Report("zoom 15, wheel notch (15 <-> 16)", WheelRepaints(window, 40));
    // The whole drive in view: every point inside the window.
    Wheel(window, -2);
    maptest::PaintNow(window);
    Report("zoom 13 (whole drive in view), drag step", DragRepaints(window, 40));
    maptest::SaveShot(maptest::Grab(window), "bench-zoom13");
    Wheel(window, -1);
    maptest::PaintNow(window);
    Report("zoom 12, drag step", DragRepaints(window, 40));
    Wheel(window, 6);
    maptest::PaintNow(window);
    Report("zoom 18 (close up), drag step", DragRepaints(window, 40));
    Report("zoom 18, repaint without a view change", ExposeRepaints(window, 40));
    Wheel(window, -3);
    maptest::PaintNow(window);
    Report("zoom 15, repaint without a view change", ExposeRepaints(window, 40));

    // Growing the track: the area each new point invalidates and the cost of
    // painting it; first track points alone, then whole fixes as the player
    // sends them (the vehicle moves too, and is followed).
    for (int mode = 0; mode < 2; ++mode) {
        if (mode == 1) {   // the vehicle to the track's head first
            _MAP_UpdateVehicle(map, vehicle, x, y, drive.Direction(), 0, "45KMH", "", "speed: 45 km/h");
            maptest::PaintNow(window);
        }
        Stats area, cost;
        RECT largest = {0, 0, 0, 0};
        int whole = 0;
        const int adds = 1000;
        for (int i = 0; i < adds; ++i) {
            drive.Next(x, y);
            double start = Now();
            if (mode == 1) {
                _MAP_SetVehicleName(map, vehicle, "");
                _MAP_SelectVehicle(map, vehicle);
                _MAP_UpdateVehicle(map, vehicle, x, y, drive.Direction(), 0, "45KMH", "", "speed: 45 km/h");
            }
            _MAP_TKPushPoint(track, x, y);
            _MAP_TKDrawPoint(track);
            HRGN dirty = CreateRectRgn(0, 0, 0, 0);
            GetUpdateRgn(window, dirty, FALSE);
            DWORD size = GetRegionData(dirty, 0, nullptr);
            std::vector<char> data(size);
            RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
            GetRegionData(dirty, size, rgn);
            DeleteObject(dirty);
            long pixels = 0;
            const RECT* rects = reinterpret_cast<const RECT*>(rgn->Buffer);
            for (DWORD k = 0; k < rgn->rdh.nCount; ++k)
                pixels += (rects[k].right - rects[k].left) * (rects[k].bottom - rects[k].top);
            if (pixels >= kWidth * kHeight) ++whole;
            else if ((rgn->rdh.rcBound.right - rgn->rdh.rcBound.left) * (rgn->rdh.rcBound.bottom - rgn->rdh.rcBound.top) >
                     (largest.right - largest.left) * (largest.bottom - largest.top))
                largest = rgn->rdh.rcBound;
            UpdateWindow(window);
            GdiFlush();
            cost.Add(Now() - start);
            area.Add(double(pixels));
        }
        maptest::Pump(0);
        Stats partial;
        for (double a : area.values)
            if (a < kWidth * kHeight) partial.Add(a);
        printf("%s, %d added:\n", mode ? "whole fixes (vehicle moved and followed, point added)" : "track points added",
               adds);
        printf("  invalidated area: median %.0f px, mean %.0f px of %d (%.3f%% of the window); largest partial %ld x %ld\n",
               partial.Median(), partial.Mean(), kWidth * kHeight, 100 * partial.Mean() / (kWidth * kHeight),
               largest.right - largest.left, largest.bottom - largest.top);
        printf("  whole-window repaints (view re-centred): %d\n", whole);
        Report("cost of one add, painted", cost);
    }
    return 0;
}
