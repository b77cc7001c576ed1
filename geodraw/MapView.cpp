#include "MapView.h"

#include <math.h>

namespace geodraw {

double MetresPerPixelAtZoom(double zoom) {
    return 2 * kWorldHalf / (256.0 * pow(2.0, zoom));
}

MapView::MapView(int width, int height) : width_(1), height_(1), metresPerPixel_(MetresPerPixelAtZoom(0)) {
    SetSize(width, height);
    ShowWorld();
}

void MapView::SetSize(int width, int height) {
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
}

void MapView::CenterOn(WorldPoint p) {
    center_ = p;
    ClampCenter();
}

void MapView::CenterOn(WorldPoint p, int zoom) {
    if (zoom < kMinZoom) zoom = kMinZoom;
    if (zoom > kMaxZoom) zoom = kMaxZoom;
    metresPerPixel_ = MetresPerPixelAtZoom(zoom);
    CenterOn(p);
}

void MapView::ShowWorld() {
    int side = width_ < height_ ? width_ : height_;
    metresPerPixel_ = ClampScale(2 * kWorldHalf / side);
    CenterOn(WorldPoint());
}

double MapView::ClampScale(double metresPerPixel) {
    double finest = MetresPerPixelAtZoom(kMaxZoom), coarsest = MetresPerPixelAtZoom(kMinZoom);
    if (metresPerPixel < finest) return finest;
    if (metresPerPixel > coarsest) return coarsest;
    return metresPerPixel;
}

ScreenPoint MapView::ToScreen(WorldPoint p) const {
    ScreenPoint s;
    s.x = width_ / 2.0 + (p.x - center_.x) / metresPerPixel_;
    s.y = height_ / 2.0 - (p.y - center_.y) / metresPerPixel_;
    return s;
}

WorldPoint MapView::ToWorld(ScreenPoint s) const {
    WorldPoint p;
    p.x = center_.x + (s.x - width_ / 2.0) * metresPerPixel_;
    p.y = center_.y - (s.y - height_ / 2.0) * metresPerPixel_;
    return p;
}

bool MapView::ZoomAbout(ScreenPoint anchor, double factor) {
    if (!(factor > 0)) return false;
    double wanted = ClampScale(metresPerPixel_ / factor);
    if (fabs(wanted - metresPerPixel_) <= metresPerPixel_ * 1e-9) return false;
    WorldPoint a = ToWorld(anchor);
    metresPerPixel_ = wanted;
    center_.x = a.x - (anchor.x - width_ / 2.0) * metresPerPixel_;
    center_.y = a.y + (anchor.y - height_ / 2.0) * metresPerPixel_;
    ClampCenter();
    return true;
}

void MapView::PanBy(double dx, double dy) {
    center_.x -= dx * metresPerPixel_;
    center_.y += dy * metresPerPixel_;
    ClampCenter();
}

bool MapView::KeepInMiddleHalf(WorldPoint p) {
    ScreenPoint s = ToScreen(p);
    if (s.x >= width_ / 4.0 && s.x <= width_ * 3 / 4.0 && s.y >= height_ / 4.0 && s.y <= height_ * 3 / 4.0)
        return false;
    CenterOn(p);
    return true;
}

void MapView::ClampCenter() {
    if (center_.x > kWorldHalf) center_.x = kWorldHalf;
    if (center_.x < -kWorldHalf) center_.x = -kWorldHalf;
    if (center_.y > kWorldHalf) center_.y = kWorldHalf;
    if (center_.y < -kWorldHalf) center_.y = -kWorldHalf;
}

}  // namespace geodraw
