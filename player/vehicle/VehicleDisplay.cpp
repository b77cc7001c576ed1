#include "vehicle/VehicleDisplay.h"

#include "AppSettings.h"
#include "vehicle/DlgMap.h"
#include "vehicle/DlgSpeedometer.h"
#include "LanguageHolder.h"
#include "PostedBlock.h"
#include "PrivateMessages.h"
#include "vehicle/ScopeDlg.h"
#include "StringIds.h"

#include <cmath>
#include <memory>
#include <new>
#include <string>

namespace {

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                        nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

InfoFrameSettings CurrentSettings()
{
    InfoFrameSettings s;
    s.languageCode = g_Settings.languageCode;
    s.gpsFix = g_Settings.gpsFix;
    s.mapSelect = g_Settings.mapSelect;
    if (g_Settings.language)
        s.speedWord = Utf8(g_Settings.language->Text(IDS_SPEED_WORD));
    return s;
}

}  // namespace

void VehicleDisplay::Show(const uint8_t* data, size_t length, int& resyncPosition)
{
    if (!g_Settings.firstInfoSeen) {
        g_Settings.firstInfoSeen = 1;
        return;
    }
    const InfoFrameReading r = ReadInfoFrame(data, length, CurrentSettings(), ::GetTickCount(), resyncPosition,
                                             state, _MAP_ConvertGps);
    if (!r.complete)
        return;

    // The charts take every frame; the acceleration axes as magnitudes.
    std::unique_ptr<AccelerationSample> a(new (std::nothrow) AccelerationSample);
    if (a) {
        a->x = std::fabs(r.accel[0]);
        a->y = std::fabs(r.accel[1]);
        a->z = std::fabs(r.accel[2]);
        PostBlock(g_hScopeWnd, WM_SCOPE_ACCEL, 0, std::move(a));
    }
    if (g_hScopeWnd)
        ::PostMessageW(g_hScopeWnd, WM_SCOPE_SPEED, static_cast<WPARAM>(r.speed), 0);
    if (gpsPanel)
        gpsPanel->SetSpeed(r.speed);

    if (r.showPosition) {
        if (gpsPanel) {
            gpsPanel->SetLongitude(CString::FromAnsi(r.longitudeText));
            gpsPanel->SetLatitude(CString::FromAnsi(r.latitudeText));
        }
        const GEODRAW_HANDLE map = mapPane ? mapPane->mapHandle : 0;
        const INT_PTR vehicle = mapPane ? mapPane->VehicleId() : 0;
        const char* x = r.mapX.c_str();
        const char* y = r.mapY.c_str();
        _MAP_SetVehicleName(map, vehicle, "");
        _MAP_SelectVehicle(map, vehicle);
        _MAP_UpdateVehicle(map, vehicle, x, y, r.direction, 0, r.speedText.c_str(), "", r.balloon.c_str());
        if (!markerShown && track && mapPane && mapPane->ready) {
            _MAP_TKUpdateMarker(track, 1, "", x, y, r.direction, 5, "", r.balloon.c_str(), 1, r.speedText.c_str(),
                                "");
            markerShown = 1;
        }
        _MAP_TKPushPoint(track, x, y);
        _MAP_TKDrawPoint(track);
    }
    if (gpsPanel)
        gpsPanel->Refresh();
}

bool VehicleDisplay::PlaceOnMap()
{
    if (!mapPane || !mapPane->ready)
        return false;
    INT_PTR vehicle = 0;
    mapPane->AddVehicle(&vehicle);
    _MAP_InsertVehicle(mapPane->mapHandle, vehicle);
    _MAP_SetVehiIcon(mapPane->mapHandle, vehicle, 1);
    if (!markerShown && !track) {
        _MAP_TKInsertTrack(mapPane->mapHandle, &track);
        _MAP_TKInsertMarker(track, 1, 1);
        ApplyTrackColour();
    }
    return true;
}

void VehicleDisplay::Stop()
{
    if (track) {
        _MAP_TKDeleteMarker(track, 1);
        _MAP_TKDeleteTrack(track);
        track = 0;
        markerShown = 0;
    }
    state.ResetForOpen();
}

void VehicleDisplay::ApplyTrackColour()
{
    if (track)
        _MAP_TKSetColor(track, TrackColour(g_Settings.trackColor));
}
