// What one map shows: its vehicles and its tracks with their markers.
// Plain data kept by the map window; positions are on the Web Mercator
// plane.
#pragma once

#include "Mercator.h"

#include <windows.h>
#include <stdint.h>

#include <map>
#include <string>
#include <vector>

namespace geodraw {

struct Vehicle {
    intptr_t id = 0;            // the caller's value, unique in its map
    bool placed = false;        // false until its first position
    WorldPoint position;
    int direction = 0;          // compass sector 0-7
    int icon = 1;               // 1 = arrow, the only icon there is
    std::wstring name;          // label above it; empty = none
    std::wstring speed;         // text beside it; empty = none
    std::wstring tooltip;       // plain text; empty = no tooltip
    UINT tool = 0;              // its tool in the map's tooltip window, 0 = none
};

struct Marker {
    int id = 0;
    int kind = 0;
    bool placed = false;        // hidden until placed
    WorldPoint position;
    std::wstring tooltip;
    UINT tool = 0;
};

struct Track {
    COLORREF colour = 0;
    std::vector<WorldPoint> points;
    size_t drawn = 0;           // points already in the map's base picture
    std::vector<Marker> markers;

    Marker* FindMarker(int id) {
        for (Marker& m : markers)
            if (m.id == id) return &m;
        return nullptr;
    }
};

struct MapScene {
    std::vector<Vehicle> vehicles;          // in the order inserted
    intptr_t selected = 0;                  // id of the selected vehicle, 0 = none
    std::map<intptr_t, Track> tracks;       // by track handle, oldest first

    Vehicle* FindVehicle(intptr_t id) {
        for (Vehicle& v : vehicles)
            if (v.id == id) return &v;
        return nullptr;
    }
    Track* FindTrack(intptr_t handle) {
        auto it = tracks.find(handle);
        return it == tracks.end() ? nullptr : &it->second;
    }
};

}  // namespace geodraw
