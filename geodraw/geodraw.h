// The map library: draws a map with one vehicle, a marker and a track into
// a window. All functions are stdcall and exported undecorated; they return
// 0 on success.
#pragma once

#include <windows.h>

#ifdef GEODRAW_BUILD
#define GEODRAW_API extern "C"   // exported by name through geodraw.def
#else
#define GEODRAW_API extern "C" __declspec(dllimport)
#endif

// Library start-up: registers the map window class.
GEODRAW_API int __stdcall _MAP_Initialize();
// Language of the map's own texts ("chinese" or "english").
GEODRAW_API int __stdcall _MAP_InitLangague(const char* language);
// Colour scheme of the map (0 = default).
GEODRAW_API int __stdcall _MAP_LoadSkin(int skin);

// State the start-up calls leave, for the map pane and the tests.
GEODRAW_API int __stdcall GeoDrawStartState(int* initialized, char* language, int languageSize, int* skin);
