#include "Library.h"

#include <vector>

namespace geodraw {

Library& Library::Instance() {
    static Library library;
    return library;
}

intptr_t Library::CreateMap(HWND host) {
    std::unique_ptr<MapWindow> owned(new MapWindow(&Library::MapDestroyed));
    MapWindow* map = owned.get();
    intptr_t handle = maps_.Insert(std::move(owned));
    if (handle && !map->Open(host, handle)) {
        maps_.Erase(handle);
        return 0;
    }
    return handle;
}

MapWindow* Library::Map(intptr_t map) {
    std::unique_ptr<MapWindow>* found = maps_.Find(map);
    return found ? found->get() : nullptr;
}

MapWindow* Library::TrackMap(intptr_t track) {
    intptr_t* map = trackMaps_.Find(track);
    return map ? Map(*map) : nullptr;
}

intptr_t Library::CreateTrack(intptr_t map) {
    MapWindow* window = Map(map);
    if (!window) return 0;
    intptr_t track = trackMaps_.Insert(map);
    if (track && !window->InsertTrack(track)) {
        trackMaps_.Erase(track);
        return 0;
    }
    return track;
}

bool Library::DeleteTrack(intptr_t track) {
    MapWindow* map = TrackMap(track);
    if (!map) return false;
    map->DeleteTrack(track);
    trackMaps_.Erase(track);
    return true;
}

void Library::MapDestroyed(intptr_t map) {
    Library& library = Instance();
    std::vector<intptr_t> dead;
    library.trackMaps_.ForEach([&](intptr_t track, intptr_t owner) {
        if (owner == map) dead.push_back(track);
    });
    for (intptr_t track : dead) library.trackMaps_.Erase(track);
    library.maps_.Erase(map);
}

}  // namespace geodraw
