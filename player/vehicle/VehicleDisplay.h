// VehicleDisplay: what the playback control does with each information
// frame of the playing group. Every whole frame gives the charts a speed
// sample and three acceleration samples (posted to the scope panel) and the
// GPS panel its speed; a frame taken as a position fix moves the GPS
// panel's position and the vehicle on the map, and extends the track.
//
// It owns the map track of the playing group (made once the map pane is
// ready, deleted when the group stops) and what the frames' reading
// carries from one frame to the next. UI thread only.
#pragma once

#include "vehicle/InfoFrameReading.h"
#include "geodraw.h"

#include <stddef.h>
#include <stdint.h>

class CSpeedometer;
class CDlgMap;

class VehicleDisplay {
public:
    CSpeedometer* gpsPanel = nullptr;
    CDlgMap* mapPane = nullptr;
    InfoFrameState state;
    GEODRAW_HANDLE track = 0;
    int markerShown = 0;

    // One information block of `length` bytes. The first frame after each
    // open is passed over (AppSettings::firstInfoSeen).
    void Show(const uint8_t* data, size_t length, int& resyncPosition);
    // Once the map pane is ready: the vehicle, and a track with its start
    // marker. false while the map is not ready yet.
    bool PlaceOnMap();
    // The group stopped: the track and its marker go, and the positions of
    // this group are forgotten.
    void Stop();
    // The track takes the colour chosen in the GPS panel.
    void ApplyTrackColour();
};
