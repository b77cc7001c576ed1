// Library load and unload, and the DirectDraw warm-up worker.
//
// Nothing here waits for a thread inside DllMain: the loader lock is held
// there, and a thread that needs it to end would never end. The warm-up
// worker holds a reference on the library instead, so FreeLibrary cannot
// unmap its code while it runs; OV_UnInitialize waits for it outside the
// loader and drops that reference.
#include "ColorConvert.h"
#include "DisplayDevice.h"
#include "EngineResources.h"
#include "Thread.h"
#include "Ostrivel.h"

#include <new>

namespace {

HMODULE g_module = nullptr;
EngineFonts g_fonts;

CThread* g_warmUp = nullptr;   // created by OV_Initialize only
bool g_warmUpPinned = false;    // the worker's library reference is held

int WarmUp(void*) {
    // The DirectDraw object is slow to make on some systems: made up front,
    // the channels' displays come up quickly. Only one is ever made.
    DisplayDevice::Shared().Make();
    return 0;
}

}  // namespace

const EngineFonts& LoadedFonts() { return g_fonts; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
        // Pure arithmetic: safe under the loader lock, and drawing never
        // pays for it later.
        color::BuildColorTables();
        LocateFonts(instance, &g_fonts);
    }
    // Detach: the warm-up worker cannot be running (it pins the library),
    // and at process exit the other threads are already gone.
    return TRUE;
}

OV_API int WINAPI OV_Initialize(void) {
    if (!g_warmUp) g_warmUp = new (std::nothrow) CThread;
    if (!g_warmUp || g_warmUp->IsRunning()) return 0;
    // The reference goes by the module's own handle: a path can fail to
    // name it (one the ANSI code page cannot spell), and then the library
    // could be unloaded under its running worker.
    HMODULE pin = nullptr;
    if (!g_warmUpPinned &&
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(g_module), &pin))
        g_warmUpPinned = true;
    g_warmUp->Start(&WarmUp, nullptr);
    return 0;
}

OV_API int WINAPI OV_UnInitialize(void) {
    if (!g_warmUp) return 0;
    // The worker ends by itself once DirectDraw is created.
    g_warmUp->Stop(INFINITE);
    if (g_warmUpPinned) {
        g_warmUpPinned = false;
        FreeLibrary(g_module);
    }
    return 0;
}
