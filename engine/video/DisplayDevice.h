// The process's one DirectDraw 7 object, which every channel's display
// shares. Making one is slow on some systems (under Wine each one is a new
// 3D device with a thread of its own, and takes a few hundred milliseconds
// of which the next one waits for the last), so it is made once and kept
// for the life of the process. It is never released: not even when the
// library is unloaded, since releasing it waits for the device's thread,
// which must not happen under the loader's lock.
#pragma once

#include "MutexLock.h"

#include <windows.h>
#include <ddraw.h>

#include <atomic>

class DisplayDevice {
public:
    typedef HRESULT(WINAPI* CreateProc)(GUID* driver, void** object, REFIID iid, IUnknown* outer);

    // The process's own.
    static DisplayDevice& Shared();

    // `create`: how the object is made (DirectDrawCreateEx for the shared one).
    explicit DisplayDevice(CreateProc create) : create_(create) {}
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // Makes the object on the calling thread unless it is made (or failed)
    // already; gives it, or null when it cannot be made. A caller that comes
    // while another makes it waits for that one.
    IDirectDraw7* Make();
    // The object once made; null before, or when it cannot be made. Never waits.
    IDirectDraw7* Ready() const { return object_.load(); }
    // Objects made so far: 1 at most, for the tests.
    int MadeCount() const { return made_.load(); }

private:
    CreateProc create_;
    CMutexLock makeLock_;   // one maker at a time; guards failed_
    bool failed_ = false;
    std::atomic<IDirectDraw7*> object_{nullptr};
    std::atomic<int> made_{0};
};
