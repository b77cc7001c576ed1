// The library's objects by handle: the maps (each owns its window) and,
// for every live track, the map it belongs to. Maps and tracks take their
// handles from one counter, so no handle is ever that of two objects.
#pragma once

#include "HandleTable.h"
#include "MapWindow.h"

#include <memory>

namespace geodraw {

class Library {
public:
    static Library& Instance();

    // Makes a map in `host`; its handle, 0 when it cannot be made.
    intptr_t CreateMap(HWND host);
    // Null for a handle that is not a live map.
    MapWindow* Map(intptr_t map);
    // The map of a live track; null for a handle that is not one.
    MapWindow* TrackMap(intptr_t track);
    // A new track on a live map; its handle, 0 when there is none.
    intptr_t CreateTrack(intptr_t map);
    bool DeleteTrack(intptr_t track);

private:
    static void MapDestroyed(intptr_t map);

    HandleCounter counter_;
    HandleTable<std::unique_ptr<MapWindow>> maps_{counter_};
    HandleTable<intptr_t> trackMaps_{counter_};
};

}  // namespace geodraw
