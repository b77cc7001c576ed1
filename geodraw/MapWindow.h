// The map window: a child filling its host window (and following the
// host's size) that shows one MapScene through a MapView.
//
// It paints double-buffered: the base picture (paper, grid, tracks) lives
// in a bitmap that is drawn again only when the view changes; a growing
// track adds just its new segment to that bitmap and invalidates just the
// pixels of that segment. Each paint copies the base into a second bitmap
// for the invalid area, draws the overlays over it and copies the result to
// the screen, so nothing is ever seen half drawn.
//
// The mouse: the wheel zooms by 2 per notch about the cursor; dragging
// pans and stops following the selected vehicle; a double-click follows it
// again and centres it. While following, the selected vehicle is kept in
// the middle half of the window.
#pragma once

#include "MapPainter.h"
#include "MapScene.h"
#include "MapView.h"

#include <windows.h>
#include <stdint.h>

#include <string>

namespace geodraw {

class MapWindow {
public:
    static const wchar_t kClassName[];
    // Registers the window class (once; later calls do nothing).
    static bool RegisterWindowClass();

    // `destroyed(handle)` is called from the window's last message; the
    // callee frees the object then.
    explicit MapWindow(void (*destroyed)(intptr_t handle));
    ~MapWindow();
    MapWindow(const MapWindow&) = delete;
    MapWindow& operator=(const MapWindow&) = delete;
    // Makes the window inside `host`, for the map `handle`; false when it
    // cannot be made.
    bool Open(HWND host, intptr_t handle);

    HWND Hwnd() const { return hwnd_; }

    // Each gives false (and changes nothing) for an unknown vehicle, track
    // or marker, or a value it does not take.
    bool InsertVehicle(intptr_t id);
    bool SetVehicleName(intptr_t id, const std::wstring& name);
    bool SetVehicleIcon(intptr_t id, int icon);
    bool SelectVehicle(intptr_t id);
    bool UpdateVehicle(intptr_t id, double longitude, double latitude, int direction, const std::wstring& speed,
                       const std::wstring& tooltip);

    bool InsertTrack(intptr_t track);
    bool DeleteTrack(intptr_t track);
    bool SetTrackColour(intptr_t track, COLORREF colour);
    bool InsertMarker(intptr_t track, int marker, int kind);
    bool UpdateMarker(intptr_t track, int marker, double longitude, double latitude, const std::wstring& tooltip);
    bool DeleteMarker(intptr_t track, int marker);
    bool PushPoint(intptr_t track, double longitude, double latitude);
    bool DrawPoint(intptr_t track);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
    static LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR data);
    LRESULT Handle(UINT msg, WPARAM w, LPARAM l);

    void OnPaint();
    void OnSize(int width, int height);
    void OnWheel(int delta, POINT screen);
    void OnDrag(POINT at);
    void OnDoubleClick();

    // The view changed: the base is drawn again and the whole window painted.
    void ViewChanged();
    // The first position a map gets centres the view on it.
    void PlaceFirst(WorldPoint p);
    void FollowSelected();
    bool IsSelected(const Vehicle& v) const { return v.id == scene_.selected; }
    void InvalidateVehicle(const Vehicle& v);
    void InvalidateMarker(const Marker& m);
    void EnsureBuffers();
    void FreeBuffers();

    void SetTool(UINT* tool, const std::wstring& text, const RECT& where);
    void DeleteTool(UINT* tool);
    void MoveTools();

    HWND hwnd_ = nullptr;
    HWND host_ = nullptr;
    intptr_t handle_ = 0;
    void (*destroyed_)(intptr_t);

    MapScene scene_;
    MapView view_;
    MapPainter painter_;
    bool placed_ = false;      // the view has been centred on a first position
    bool following_ = true;

    HDC baseDc_ = nullptr;     // the base picture
    HBITMAP base_ = nullptr;
    HGDIOBJ baseOld_ = nullptr;
    HDC composeDc_ = nullptr;  // base plus overlays, copied to the screen
    HBITMAP compose_ = nullptr;
    HGDIOBJ composeOld_ = nullptr;
    int bufferWidth_ = 0;
    int bufferHeight_ = 0;
    bool baseStale_ = true;

    HWND tooltip_ = nullptr;
    UINT nextTool_ = 1;

    bool dragging_ = false;
    POINT dragLast_ = {0, 0};
    int wheelRest_ = 0;
};

}  // namespace geodraw
