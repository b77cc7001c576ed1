#include "MapWindow.h"

#include "MapSymbols.h"

#include <commctrl.h>
#include <windowsx.h>

namespace geodraw {

namespace {

HINSTANCE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&MapWindow::RegisterWindowClass), &module);
    return module;
}

}  // namespace

const wchar_t MapWindow::kClassName[] = L"GeoDrawMap";

bool MapWindow::RegisterWindowClass() {
    HINSTANCE module = ThisModule();
    WNDCLASSW wc = {};
    if (GetClassInfoW(module, kClassName, &wc)) return true;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_CROSS));
    wc.lpszClassName = kClassName;
    return RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

MapWindow::MapWindow(void (*destroyed)(intptr_t)) : destroyed_(destroyed) {}

bool MapWindow::Open(HWND host, intptr_t handle) {
    if (hwnd_ || !RegisterWindowClass()) return false;
    host_ = host;
    handle_ = handle;
    RECT client;
    GetClientRect(host, &client);
    // The host's own painting must leave the map alone, or it would flicker.
    SetWindowLongPtrW(host, GWL_STYLE, GetWindowLongPtrW(host, GWL_STYLE) | WS_CLIPCHILDREN);
    return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, client.right,
                           client.bottom, host, nullptr, ThisModule(), this) != nullptr;
}

MapWindow::~MapWindow() {
    // Freed with its window still there (the library unloading): the
    // window must not find the object any more.
    if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    FreeBuffers();
}

LRESULT CALLBACK MapWindow::WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    MapWindow* self = reinterpret_cast<MapWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        self = static_cast<MapWindow*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, msg, w, l);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->destroyed_(self->handle_);   // frees self
        return DefWindowProcW(hwnd, msg, w, l);
    }
    return self->Handle(msg, w, l);
}

// The host passes its size on to the map.
LRESULT CALLBACK MapWindow::HostProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR data) {
    if (msg == WM_SIZE)
        MoveWindow(reinterpret_cast<HWND>(data), 0, 0, LOWORD(l), HIWORD(l), TRUE);
    else if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(hwnd, HostProc, id);
    return DefSubclassProc(hwnd, msg, w, l);
}

LRESULT MapWindow::Handle(UINT msg, WPARAM w, LPARAM l) {
    switch (msg) {
    case WM_CREATE: {
        SetWindowSubclass(host_, HostProc, reinterpret_cast<UINT_PTR>(hwnd_), reinterpret_cast<DWORD_PTR>(hwnd_));
        tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                   ThisModule(), nullptr);
        if (tooltip_) SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 360);
        RECT r;
        GetClientRect(hwnd_, &r);
        OnSize(r.right, r.bottom);
        return 0;
    }
    case WM_DESTROY:
        RemoveWindowSubclass(host_, HostProc, reinterpret_cast<UINT_PTR>(hwnd_));
        if (tooltip_) DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        return 0;
    case WM_SIZE:
        OnSize(LOWORD(l), HIWORD(l));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(hwnd_);
        SetCapture(hwnd_);
        dragging_ = true;
        dragLast_ = POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
        return 0;
    case WM_MOUSEMOVE:
        if (dragging_ && (w & MK_LBUTTON)) OnDrag(POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick();
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(w), POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, w, l);
}

void MapWindow::EnsureBuffers() {
    int w = view_.Width(), h = view_.Height();
    if (base_ && w == bufferWidth_ && h == bufferHeight_) return;
    FreeBuffers();
    HDC screen = GetDC(hwnd_);
    baseDc_ = CreateCompatibleDC(screen);
    composeDc_ = CreateCompatibleDC(screen);
    base_ = CreateCompatibleBitmap(screen, w, h);
    compose_ = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(hwnd_, screen);
    baseOld_ = SelectObject(baseDc_, base_);
    composeOld_ = SelectObject(composeDc_, compose_);
    bufferWidth_ = w;
    bufferHeight_ = h;
    baseStale_ = true;
}

void MapWindow::FreeBuffers() {
    if (baseDc_) {
        SelectObject(baseDc_, baseOld_);
        DeleteDC(baseDc_);
    }
    if (composeDc_) {
        SelectObject(composeDc_, composeOld_);
        DeleteDC(composeDc_);
    }
    if (base_) DeleteObject(base_);
    if (compose_) DeleteObject(compose_);
    baseDc_ = composeDc_ = nullptr;
    base_ = compose_ = nullptr;
    bufferWidth_ = bufferHeight_ = 0;
}

void MapWindow::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    EnsureBuffers();
    if (baseStale_) {
        painter_.PaintBase(baseDc_, view_, scene_);
        baseStale_ = false;
    }
    const RECT& r = ps.rcPaint;
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w > 0 && h > 0) {
        BitBlt(composeDc_, r.left, r.top, w, h, baseDc_, r.left, r.top, SRCCOPY);
        HRGN clip = CreateRectRgnIndirect(&r);
        SelectClipRgn(composeDc_, clip);
        DeleteObject(clip);
        painter_.PaintOverlays(composeDc_, view_, scene_);
        SelectClipRgn(composeDc_, nullptr);
        BitBlt(dc, r.left, r.top, w, h, composeDc_, r.left, r.top, SRCCOPY);
    }
    EndPaint(hwnd_, &ps);
}

void MapWindow::OnSize(int width, int height) {
    view_.SetSize(width, height);
    if (!placed_) view_.ShowWorld();
    ViewChanged();
}

void MapWindow::OnWheel(int delta, POINT screen) {
    wheelRest_ += delta;
    int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (!notches) return;
    POINT at = screen;
    ScreenToClient(hwnd_, &at);
    ScreenPoint anchor{at.x + 0.5, at.y + 0.5};
    if (at.x < 0 || at.y < 0 || at.x >= view_.Width() || at.y >= view_.Height())
        anchor = ScreenPoint{view_.Width() / 2.0, view_.Height() / 2.0};
    double factor = notches > 0 ? double(1 << (notches > 20 ? 20 : notches))
                                : 1.0 / double(1 << (-notches > 20 ? 20 : -notches));
    if (view_.ZoomAbout(anchor, factor)) ViewChanged();
}

void MapWindow::OnDrag(POINT at) {
    int dx = at.x - dragLast_.x, dy = at.y - dragLast_.y;
    if (!dx && !dy) return;
    dragLast_ = at;
    following_ = false;
    view_.PanBy(dx, dy);
    ViewChanged();
}

void MapWindow::OnDoubleClick() {
    following_ = true;
    Vehicle* v = scene_.FindVehicle(scene_.selected);
    if (v && v->placed) {
        view_.CenterOn(v->position);
        ViewChanged();
    }
}

void MapWindow::ViewChanged() {
    baseStale_ = true;
    InvalidateRect(hwnd_, nullptr, FALSE);
    MoveTools();
}

void MapWindow::PlaceFirst(WorldPoint p) {
    if (placed_) return;
    placed_ = true;
    view_.CenterOn(p, kFirstPositionZoom);
    ViewChanged();
}

void MapWindow::FollowSelected() {
    Vehicle* v = scene_.FindVehicle(scene_.selected);
    if (following_ && v && v->placed && view_.KeepInMiddleHalf(v->position)) ViewChanged();
}

void MapWindow::InvalidateVehicle(const Vehicle& v) {
    RECT r = painter_.VehicleBounds(view_, v);
    if (!IsRectEmpty(&r)) InvalidateRect(hwnd_, &r, FALSE);
}

void MapWindow::InvalidateMarker(const Marker& m) {
    RECT r = painter_.MarkerBounds(view_, m);
    if (!IsRectEmpty(&r)) InvalidateRect(hwnd_, &r, FALSE);
}

// --- vehicles ---

bool MapWindow::InsertVehicle(intptr_t id) {
    if (!id) return false;
    if (!scene_.FindVehicle(id)) {
        Vehicle v;
        v.id = id;
        scene_.vehicles.push_back(v);
    }
    return true;
}

bool MapWindow::SetVehicleName(intptr_t id, const std::wstring& name) {
    Vehicle* v = scene_.FindVehicle(id);
    if (!v) return false;
    if (v->name == name) return true;
    InvalidateVehicle(*v);
    v->name = name;
    InvalidateVehicle(*v);
    return true;
}

bool MapWindow::SetVehicleIcon(intptr_t id, int icon) {
    Vehicle* v = scene_.FindVehicle(id);
    if (!v || icon != 1) return false;
    v->icon = icon;
    return true;
}

bool MapWindow::SelectVehicle(intptr_t id) {
    Vehicle* v = scene_.FindVehicle(id);
    if (!v) return false;
    if (scene_.selected != id) {
        if (Vehicle* old = scene_.FindVehicle(scene_.selected)) {
            InvalidateVehicle(*old);
            scene_.selected = 0;
        }
        scene_.selected = id;
        InvalidateVehicle(*v);
    }
    FollowSelected();
    return true;
}

bool MapWindow::UpdateVehicle(intptr_t id, double longitude, double latitude, int direction,
                              const std::wstring& speed, const std::wstring& tooltip) {
    Vehicle* v = scene_.FindVehicle(id);
    if (!v) return false;
    InvalidateVehicle(*v);
    v->position = LonLatToWorld(longitude, latitude);
    v->placed = true;
    v->direction = ((direction % 8) + 8) % 8;
    v->speed = speed;
    v->tooltip = tooltip;
    PlaceFirst(v->position);
    if (IsSelected(*v)) FollowSelected();
    InvalidateVehicle(*v);
    SetTool(&v->tool, v->tooltip, painter_.VehicleHotSpot(view_, *v));
    return true;
}

// --- tracks and markers ---

bool MapWindow::InsertTrack(intptr_t track) {
    Track t;
    t.colour = palette::kDefaultTrack;
    return scene_.tracks.emplace(track, t).second;
}

bool MapWindow::DeleteTrack(intptr_t track) {
    Track* t = scene_.FindTrack(track);
    if (!t) return false;
    for (Marker& m : t->markers) DeleteTool(&m.tool);
    scene_.tracks.erase(track);
    ViewChanged();
    return true;
}

bool MapWindow::SetTrackColour(intptr_t track, COLORREF colour) {
    Track* t = scene_.FindTrack(track);
    if (!t || (colour & 0xFF000000)) return false;
    if (t->colour != colour) {
        t->colour = colour;
        ViewChanged();
    }
    return true;
}

bool MapWindow::InsertMarker(intptr_t track, int marker, int kind) {
    Track* t = scene_.FindTrack(track);
    if (!t) return false;
    if (!t->FindMarker(marker)) {
        Marker m;
        m.id = marker;
        m.kind = kind;
        t->markers.push_back(m);
    }
    return true;
}

bool MapWindow::UpdateMarker(intptr_t track, int marker, double longitude, double latitude,
                             const std::wstring& tooltip) {
    Track* t = scene_.FindTrack(track);
    Marker* m = t ? t->FindMarker(marker) : nullptr;
    if (!m) return false;
    InvalidateMarker(*m);
    m->position = LonLatToWorld(longitude, latitude);
    m->placed = true;
    m->tooltip = tooltip;
    PlaceFirst(m->position);
    InvalidateMarker(*m);
    SetTool(&m->tool, m->tooltip, painter_.MarkerBounds(view_, *m));
    return true;
}

bool MapWindow::DeleteMarker(intptr_t track, int marker) {
    Track* t = scene_.FindTrack(track);
    if (!t) return false;
    for (size_t i = 0; i < t->markers.size(); ++i)
        if (t->markers[i].id == marker) {
            InvalidateMarker(t->markers[i]);
            DeleteTool(&t->markers[i].tool);
            t->markers.erase(t->markers.begin() + std::ptrdiff_t(i));
            return true;
        }
    return false;
}

bool MapWindow::PushPoint(intptr_t track, double longitude, double latitude) {
    Track* t = scene_.FindTrack(track);
    if (!t) return false;
    WorldPoint p = LonLatToWorld(longitude, latitude);
    t->points.push_back(p);
    PlaceFirst(p);
    return true;
}

bool MapWindow::DrawPoint(intptr_t track) {
    Track* t = scene_.FindTrack(track);
    if (!t) return false;
    // A stale base is drawn whole at the next paint, new points included.
    if (baseStale_ || !baseDc_) return true;
    RECT r = painter_.PaintTrackTail(baseDc_, view_, *t);
    if (!IsRectEmpty(&r)) InvalidateRect(hwnd_, &r, FALSE);
    return true;
}

// --- tooltips ---

void MapWindow::SetTool(UINT* tool, const std::wstring& text, const RECT& where) {
    if (!tooltip_) return;
    if (text.empty()) {
        DeleteTool(tool);
        return;
    }
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.rect = where;
    ti.lpszText = const_cast<LPWSTR>(text.c_str());
    if (!*tool) {
        ti.uId = *tool = nextTool_++;
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    } else {
        ti.uId = *tool;
        SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void MapWindow::DeleteTool(UINT* tool) {
    if (!tooltip_ || !*tool) return;
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = hwnd_;
    ti.uId = *tool;
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    *tool = 0;
}

void MapWindow::MoveTools() {
    if (!tooltip_) return;
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = hwnd_;
    for (const Vehicle& v : scene_.vehicles)
        if (v.tool) {
            ti.uId = v.tool;
            ti.rect = painter_.VehicleHotSpot(view_, v);
            SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
        }
    for (const auto& item : scene_.tracks)
        for (const Marker& m : item.second.markers)
            if (m.tool) {
                ti.uId = m.tool;
                ti.rect = painter_.MarkerBounds(view_, m);
                SendMessageW(tooltip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&ti));
            }
}

}  // namespace geodraw
