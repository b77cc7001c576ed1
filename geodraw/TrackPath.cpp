#include "TrackPath.h"

#include <math.h>

namespace geodraw {

namespace {

// Cuts the segment a-b to the rectangle [x0, x1] x [y0, y1] (Liang-Barsky);
// false when nothing of it is inside. t0, t1: the parameters kept.
bool ClipSegment(ScreenPoint a, ScreenPoint b, double x0, double y0, double x1, double y1, double* t0,
                 double* t1) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double p[4] = {-dx, dx, -dy, dy};
    double q[4] = {a.x - x0, x1 - a.x, a.y - y0, y1 - a.y};
    double lo = 0, hi = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > hi) return false;
            if (t > lo) lo = t;
        } else {
            if (t < lo) return false;
            if (t < hi) hi = t;
        }
    }
    *t0 = lo;
    *t1 = hi;
    return true;
}

POINT Pixel(ScreenPoint s) {
    return POINT{LONG(floor(s.x)), LONG(floor(s.y))};
}

ScreenPoint Along(ScreenPoint a, ScreenPoint b, double t) {
    return ScreenPoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

class RunBuilder {
public:
    explicit RunBuilder(PolylineRuns* runs) : runs_(runs) {}
    ~RunBuilder() { End(); }

    bool Open() const { return open_; }
    void Start(POINT p) {
        End();
        runs_->points.push_back(p);
        runs_->counts.push_back(1);
        open_ = true;
    }
    void Add(POINT p) {
        POINT last = runs_->points.back();
        if (p.x == last.x && p.y == last.y) return;
        runs_->points.push_back(p);
        ++runs_->counts.back();
    }
    void End() {
        if (!open_) return;
        open_ = false;
        if (runs_->counts.back() == 1) {
            POINT p = runs_->points.back();
            runs_->points.push_back(POINT{p.x + 1, p.y});
            runs_->counts.back() = 2;
        }
    }

private:
    PolylineRuns* runs_;
    bool open_ = false;
};

}  // namespace

RECT PolylineRuns::Bounds(int pen) const {
    RECT r = {0, 0, 0, 0};
    if (points.empty()) return r;
    r = RECT{points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (const POINT& p : points) {
        if (p.x < r.left) r.left = p.x;
        if (p.y < r.top) r.top = p.y;
        if (p.x + 1 > r.right) r.right = p.x + 1;
        if (p.y + 1 > r.bottom) r.bottom = p.y + 1;
    }
    InflateRect(&r, pen, pen);
    return r;
}

void AppendTrackRuns(const WorldPoint* points, size_t count, const MapView& view, double margin,
                     PolylineRuns* runs) {
    if (!count) return;
    const double x0 = -margin, y0 = -margin;
    const double x1 = view.Width() + margin, y1 = view.Height() + margin;
    RunBuilder run(runs);
    ScreenPoint a = view.ToScreen(points[0]);
    if (count == 1) {
        if (a.x >= x0 && a.x <= x1 && a.y >= y0 && a.y <= y1) run.Start(Pixel(a));
        return;
    }
    for (size_t i = 1; i < count; ++i) {
        ScreenPoint b = view.ToScreen(points[i]);
        double t0, t1;
        if (!ClipSegment(a, b, x0, y0, x1, y1, &t0, &t1)) {
            run.End();
        } else {
            if (!run.Open() || t0 > 0) run.Start(Pixel(t0 > 0 ? Along(a, b, t0) : a));
            run.Add(Pixel(t1 < 1 ? Along(a, b, t1) : b));
            if (t1 < 1) run.End();
        }
        a = b;
    }
}

}  // namespace geodraw
