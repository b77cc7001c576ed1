// geodraw: the map library. It draws a clean vector map into a window: a
// latitude/longitude grid on the Web Mercator plane, vehicles as arrows by
// heading, tracks as polylines with start flags, a scale bar and a north
// arrow. It needs no map data and no network.
//
// Conventions of every function:
//  - stdcall, exported under its plain name (no decoration);
//  - the result is an int: 0 success, 1 failure; a failed call changes
//    nothing and writes no out value;
//  - called on the thread that owns the host window (the UI thread);
//  - handles (map, track) are ids into the library's tables, written to a
//    GEODRAW_HANDLE. They are never 0 and never given twice in a process:
//    0, an unknown handle or that of a deleted track or destroyed map gives
//    1 and touches nothing;
//  - a vehicle is named by a caller's pointer-sized value (its id), unique
//    within its map, never 0; the library only compares it;
//  - a marker is named by an int id, unique within its track;
//  - positions are texts of decimal degrees ("%.6lf"): x the longitude
//    (east positive, -180..180), y the latitude (north positive, -90..90);
//    any other text gives 1;
//  - other texts are UTF-8, or in the system's ANSI code page where they
//    are not valid UTF-8; null is the empty text.
//
// What the user sees and does:
//  - Before the first position (of a vehicle, a marker or a track point)
//    the map shows the whole world. The first position centres the view on
//    itself at about 4.8 m a pixel (zoom level 15).
//  - The grid's lines are round steps of 1, 2 or 5 times a power of ten
//    degrees (at most 50), labelled at the window's top and left edges ("120.15°E",
//    "30.28°N"); the scale bar (bottom left) shows a round length ("200 m",
//    "5 km") at the latitude of the window's centre; the north arrow is in
//    the top right corner.
//  - A click gives the map the keyboard focus, and with it the wheel
//    messages. The wheel zooms by 2 per notch about the point under the
//    cursor (zoom levels 0 to 20); dragging with the left button pans and
//    stops following the selected vehicle; a double-click follows it again
//    and centres it. While followed, the selected vehicle is kept in the
//    middle half of the window (centred again when it leaves it).
//  - The window is drawn double-buffered; a growing track repaints only its
//    new segment.
#pragma once

#include <windows.h>

#ifdef GEODRAW_BUILD
#define GEODRAW_API extern "C"   // exported by name through geodraw.def
#else
#define GEODRAW_API extern "C" __declspec(dllimport)
#endif

// A map or track handle: pointer-sized; the values fit an int.
typedef INT_PTR GEODRAW_HANDLE;

// --- Start-up ---

// Registers the map window class "GeoDrawMap". A second call does nothing.
GEODRAW_API int __stdcall _MAP_Initialize();
// Records the language of the caller ("chinese" or "english"); the map's
// own texts (degrees, metres, "N") read the same in both. Null gives 1.
GEODRAW_API int __stdcall _MAP_InitLangague(const char* language);
// Colour scheme: 0 is the one there is; any value is accepted.
GEODRAW_API int __stdcall _MAP_LoadSkin(int skin);

// --- The map ---

// Makes a map: a child window of `host` that fills its client area and
// follows its size (the host is subclassed for its WM_SIZE, and given
// WS_CLIPCHILDREN so that its own painting cannot flicker over the map).
// Writes the map's handle to *map. `provider` (0 or 3), the three reserved
// values and `style` ("default") are accepted as they come. A null or
// destroyed host, or a null `map`, gives 1. The map lives as long as its
// window: destroying the host destroys the map, its vehicles and tracks,
// and their handles die.
GEODRAW_API int __stdcall _MAP_InitMap(int provider, HWND host, int reserved1, const char* reserved2,
                                       const char* reserved3, int reserved4, const char* style,
                                       GEODRAW_HANDLE* map);
// 0 once the map's window exists, which is from _MAP_InitMap on; it stays
// 0 for the map's life. 1 for a handle that is not a live map.
GEODRAW_API int __stdcall _MAP_IsLoadComplete(GEODRAW_HANDLE map);

// --- Vehicles (on a map) ---

// Adds a vehicle, not shown until its first _MAP_UpdateVehicle. Inserting
// an id the map has already gives 0 and changes nothing. Id 0 gives 1.
GEODRAW_API int __stdcall _MAP_InsertVehicle(GEODRAW_HANDLE map, INT_PTR vehicle);
// Label shown above the vehicle; the empty text hides it.
GEODRAW_API int __stdcall _MAP_SetVehicleName(GEODRAW_HANDLE map, INT_PTR vehicle, const char* name);
// The vehicle's symbol: 1 = arrow (the one there is; any other gives 1).
GEODRAW_API int __stdcall _MAP_SetVehiIcon(GEODRAW_HANDLE map, INT_PTR vehicle, int icon);
// Highlights the vehicle (a ring around it) and makes it the followed one.
GEODRAW_API int __stdcall _MAP_SelectVehicle(GEODRAW_HANDLE map, INT_PTR vehicle);
// Moves the vehicle to (x, y). Its arrow points `direction` x 45 degrees
// clockwise from north (0 north, 2 east, 4 south, 6 west; taken modulo 8).
// `speed` is shown in a box beside it (empty: no box); `balloon` (HTML,
// e.g. "<span class ='b'>speed:</span>45 km/h") becomes the plain-text
// tooltip of the vehicle, tags stripped ("speed:45 km/h"); empty: none.
// `reserved` and `unused` are ignored.
GEODRAW_API int __stdcall _MAP_UpdateVehicle(GEODRAW_HANDLE map, INT_PTR vehicle, const char* x, const char* y,
                                             int direction, int reserved, const char* speed, const char* unused,
                                             const char* balloon);

// Map coordinates of a GPS position. The map is on WGS-84, so x is the
// longitude and y the latitude whatever `mode`; both are always written
// (null out pointers give 1, the other one still written).
GEODRAW_API int __stdcall _MAP_ConvertGps(int reserved, double longitude, double latitude, int mode, double* x,
                                          double* y);

// --- Tracks (on a map) ---

// A new, empty track on the map; its handle goes to *track. Drawn as a
// 3-pixel polyline, red (RGB(230, 0, 0)) until _MAP_TKSetColor.
GEODRAW_API int __stdcall _MAP_TKInsertTrack(GEODRAW_HANDLE map, GEODRAW_HANDLE* track);
// Adds marker `marker` (hidden until placed by _MAP_TKUpdateMarker) of
// kind `kind` (1 = start); every marker shows as a flag. Inserting an id
// the track has already gives 0 and changes nothing.
GEODRAW_API int __stdcall _MAP_TKInsertMarker(GEODRAW_HANDLE track, int marker, int kind);
// Places the marker at (x, y); `balloon` becomes its tooltip as for a
// vehicle. The other values (direction, speed, reserved ones) are ignored.
GEODRAW_API int __stdcall _MAP_TKUpdateMarker(GEODRAW_HANDLE track, int marker, const char* reserved1,
                                              const char* x, const char* y, int direction, int reserved2,
                                              const char* reserved3, const char* balloon, int reserved4,
                                              const char* speed, const char* reserved5);
// Appends a point to the track. It appears at the next _MAP_TKDrawPoint
// (or whenever the whole map is drawn again).
GEODRAW_API int __stdcall _MAP_TKPushPoint(GEODRAW_HANDLE track, const char* x, const char* y);
// Draws the points pushed since the last call, joined to the track:
// repaints only the pixels of the new segment(s).
GEODRAW_API int __stdcall _MAP_TKDrawPoint(GEODRAW_HANDLE track);
// Removes a marker; an unknown marker gives 1.
GEODRAW_API int __stdcall _MAP_TKDeleteMarker(GEODRAW_HANDLE track, int marker);
// Removes the track with its points and markers; its handle dies.
GEODRAW_API int __stdcall _MAP_TKDeleteTrack(GEODRAW_HANDLE track);
// The track's colour (a COLORREF; values with the top byte set give 1).
GEODRAW_API int __stdcall _MAP_TKSetColor(GEODRAW_HANDLE track, COLORREF colour);
