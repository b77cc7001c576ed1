// The process's one DirectDraw 7 object and its primary surface, which
// every channel's display shares. Making the object is slow on some systems
// (under Wine each one is a new 3D device with a thread of its own and takes
// a few hundred milliseconds, and the next one waits for the last), so it is
// made once, on a worker of its own while the displays draw through GDI,
// and kept for the life of the process. The shared one is never released:
// not even when the library is unloaded, since releasing it waits for the
// device's thread, which must not happen under the loader's lock.
//
// DirectDraw is looked up when the shared device is first made: where the
// system has none, or a Wine prefix turns it off for the program (its
// ddraw library disabled), the displays draw through GDI.
#pragma once

#include "MutexLock.h"
#include "Thread.h"

#include <windows.h>
#include <ddraw.h>

#include <atomic>

class DisplayDevice {
public:
    typedef HRESULT(WINAPI* CreateProc)(GUID* driver, void** object, REFIID iid, IUnknown* outer);

    // The process's own, over the DirectDrawCreateEx of the system's ddraw
    // library.
    static DisplayDevice& Shared();
    // DirectDrawCreateEx of `library` (loaded, and kept loaded, when found);
    // null when the library or the function is missing.
    static CreateProc LookUpCreate(const wchar_t* library);

    // `create`: how the object is made; null: it cannot be (the device fails).
    explicit DisplayDevice(CreateProc create);
    // Waits for its worker and releases what it made. (Not for the shared one.)
    ~DisplayDevice();
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // Makes the object and the primary surface on the calling thread unless
    // they are made (or failed) already; gives the object, or null when it
    // cannot be made. A caller that comes while another makes them waits
    // until that one is done (which it always signals, made or failed).
    IDirectDraw7* Make();
    // Makes them on the device's worker `afterMs` from now unless they are
    // made, failed or being made by then; never waits. The worker holds the
    // module whose code it runs, so the library cannot be unloaded under it.
    void MakeSoon(DWORD afterMs = 0);
    // The object once made; null before, or when it cannot be made. Never waits.
    IDirectDraw7* Ready() const { return object_.load(); }
    // True once making it has failed for good.
    bool Failed() const { return failed_.load(); }
    // Objects made so far: 1 at most.
    int MadeCount() const { return made_.load(); }

    // Blits `picture` to the screen through the primary surface, clipped to
    // the window of `clipper`. Blits of every display go through here one at
    // a time (each sets the primary's clipper to its own).
    HRESULT Present(IDirectDrawClipper* clipper, RECT* screenRect, IDirectDrawSurface7* picture);

private:
    static int MakeOnWorker(void* self);
    // Makes the object and the primary surface: the one maker's work.
    IDirectDraw7* MakeObject();

    CreateProc create_;
    CMutexLock makeLock_;       // guards making_: who makes the object
    bool making_ = false;
    HANDLE madeEvent_;         // manual reset: set once making is over, made or failed
    std::atomic<bool> failed_{false};
    std::atomic<IDirectDraw7*> object_{nullptr};
    IDirectDrawSurface7* primary_ = nullptr;   // set with object_, before it
    std::atomic<int> made_{0};
    // Guards the primary's clipper from SetClipper to Blt. The blit waits
    // for the device's own thread, which never takes this lock.
    CMutexLock presentLock_;
    CMutexLock workerLock_;    // guards starting the worker and delay_
    DWORD delay_ = 0;          // how long the worker waits before it makes them
    CThread worker_;
};
