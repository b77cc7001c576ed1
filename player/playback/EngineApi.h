// The engine calls the playback panels make, as one table of function
// pointers. The program's table holds the engine's own exports (imported
// by name from Ostrivel.dll); a test hands the panel a table of fakes.
#pragma once

#include "Ostrivel.h"

struct EngineApi {
    int(WINAPI* CreateDecoder)(void** handle);
    int(WINAPI* EraseDecoder)(void* handle);
    int(WINAPI* OpenFile)(const char* path, HWND window, int channel, void* handle);
    int(WINAPI* CloseFile)(void* handle, int channel);
    int(WINAPI* GetFileInfo)(void* handle, FileInfo* info);
    int(WINAPI* Play)(void* handle, int channel);
    int(WINAPI* Stop)(void* handle, int channel);
    int(WINAPI* Pause)(void* handle, int pause);
    int(WINAPI* PlayOneByOne)(void* handle);
    int(WINAPI* SetPlayRate)(void* handle, int rate, int reverse);
    int(WINAPI* GetPlayTime)(void* handle, int* ms);
    int(WINAPI* SetPlayTime)(void* handle, int ms);
    int(WINAPI* SetInfoFrameCallBack)(void* handle, void* user, InfoFrameCallBackProc callback);
    int(WINAPI* SetEndCallBack)(void* handle, void* user, EndCallBackProc callback);
    int(WINAPI* PlaySound)(void* handle, int channel);
    int(WINAPI* SetVolume)(void* handle, int volume);
    int(WINAPI* CaptureBMP)(void* handle, int channel, const char* path, CaptureFrameInfo* info);
    int(WINAPI* GetSynChannel)(void* handle);
    int(WINAPI* SetSynChannel)(void* handle, int channel);
};

// The engine's exports.
const EngineApi& OstrivelEngine();
