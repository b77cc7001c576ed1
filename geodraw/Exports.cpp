// The library's exported functions: they check their arguments, find the
// map or track by its handle and hand the call on.
#define GEODRAW_BUILD
#include "geodraw.h"

#include "CallerText.h"
#include "Library.h"
#include "MapWindow.h"
#include "TooltipText.h"

using namespace geodraw;

namespace {

const int kOk = 0;
const int kFailed = 1;

// Start-up state: the class registration, and the caller's language and
// skin, which draw the same map.
bool g_initialized = false;
char g_language[32] = "chinese";
int g_skin = 0;

int Result(bool ok) {
    return ok ? kOk : kFailed;
}

}  // namespace

int __stdcall _MAP_Initialize() {
    if (g_initialized) return kOk;
    if (!MapWindow::RegisterWindowClass()) return kFailed;
    g_initialized = true;
    return kOk;
}

int __stdcall _MAP_InitLangague(const char* language) {
    if (!language) return kFailed;
    lstrcpynA(g_language, language, sizeof g_language);
    return kOk;
}

int __stdcall _MAP_LoadSkin(int skin) {
    g_skin = skin;
    return kOk;
}

int __stdcall _MAP_InitMap(int, HWND host, int, const char*, const char*, int, const char*, GEODRAW_HANDLE* map) {
    if (!map || !host || !IsWindow(host)) return kFailed;
    intptr_t handle = Library::Instance().CreateMap(host);
    if (!handle) return kFailed;
    *map = handle;
    return kOk;
}

int __stdcall _MAP_IsLoadComplete(GEODRAW_HANDLE map) {
    MapWindow* m = Library::Instance().Map(map);
    return Result(m && IsWindow(m->Hwnd()));
}

int __stdcall _MAP_InsertVehicle(GEODRAW_HANDLE map, INT_PTR vehicle) {
    MapWindow* m = Library::Instance().Map(map);
    return Result(m && m->InsertVehicle(vehicle));
}

int __stdcall _MAP_SetVehicleName(GEODRAW_HANDLE map, INT_PTR vehicle, const char* name) {
    MapWindow* m = Library::Instance().Map(map);
    return Result(m && m->SetVehicleName(vehicle, WideText(name)));
}

int __stdcall _MAP_SetVehiIcon(GEODRAW_HANDLE map, INT_PTR vehicle, int icon) {
    MapWindow* m = Library::Instance().Map(map);
    return Result(m && m->SetVehicleIcon(vehicle, icon));
}

int __stdcall _MAP_SelectVehicle(GEODRAW_HANDLE map, INT_PTR vehicle) {
    MapWindow* m = Library::Instance().Map(map);
    return Result(m && m->SelectVehicle(vehicle));
}

int __stdcall _MAP_UpdateVehicle(GEODRAW_HANDLE map, INT_PTR vehicle, const char* x, const char* y, int direction,
                                 int, const char* speed, const char*, const char* balloon) {
    MapWindow* m = Library::Instance().Map(map);
    double lon, lat;
    if (!m || !ParsePosition(x, y, &lon, &lat)) return kFailed;
    return Result(m->UpdateVehicle(vehicle, lon, lat, direction, WideText(speed), TooltipText(WideText(balloon))));
}

int __stdcall _MAP_ConvertGps(int, double longitude, double latitude, int, double* x, double* y) {
    if (x) *x = longitude;
    if (y) *y = latitude;
    return Result(x && y);
}

int __stdcall _MAP_TKInsertTrack(GEODRAW_HANDLE map, GEODRAW_HANDLE* track) {
    if (!track) return kFailed;
    intptr_t handle = Library::Instance().CreateTrack(map);
    if (!handle) return kFailed;
    *track = handle;
    return kOk;
}

int __stdcall _MAP_TKInsertMarker(GEODRAW_HANDLE track, int marker, int kind) {
    MapWindow* m = Library::Instance().TrackMap(track);
    return Result(m && m->InsertMarker(track, marker, kind));
}

int __stdcall _MAP_TKUpdateMarker(GEODRAW_HANDLE track, int marker, const char*, const char* x, const char* y, int,
                                  int, const char*, const char* balloon, int, const char*, const char*) {
    MapWindow* m = Library::Instance().TrackMap(track);
    double lon, lat;
    if (!m || !ParsePosition(x, y, &lon, &lat)) return kFailed;
    return Result(m->UpdateMarker(track, marker, lon, lat, TooltipText(WideText(balloon))));
}

int __stdcall _MAP_TKPushPoint(GEODRAW_HANDLE track, const char* x, const char* y) {
    MapWindow* m = Library::Instance().TrackMap(track);
    double lon, lat;
    if (!m || !ParsePosition(x, y, &lon, &lat)) return kFailed;
    return Result(m->PushPoint(track, lon, lat));
}

int __stdcall _MAP_TKDrawPoint(GEODRAW_HANDLE track) {
    MapWindow* m = Library::Instance().TrackMap(track);
    return Result(m && m->DrawPoint(track));
}

int __stdcall _MAP_TKDeleteMarker(GEODRAW_HANDLE track, int marker) {
    MapWindow* m = Library::Instance().TrackMap(track);
    return Result(m && m->DeleteMarker(track, marker));
}

int __stdcall _MAP_TKDeleteTrack(GEODRAW_HANDLE track) {
    return Result(Library::Instance().DeleteTrack(track));
}

int __stdcall _MAP_TKSetColor(GEODRAW_HANDLE track, COLORREF colour) {
    MapWindow* m = Library::Instance().TrackMap(track);
    return Result(m && m->SetTrackColour(track, colour));
}
