#include "DisplayDevice.h"

#include <new>

DisplayDevice& DisplayDevice::Shared() {
    // Made on first use and never destroyed (see the header).
    static DisplayDevice* shared = new DisplayDevice(&DirectDrawCreateEx);
    return *shared;
}

IDirectDraw7* DisplayDevice::Make() {
    if (IDirectDraw7* made = object_.load()) return made;
    CAutoLock hold(makeLock_);
    if (IDirectDraw7* made = object_.load()) return made;
    if (failed_) return nullptr;
    void* object = nullptr;
    if (FAILED(create_(nullptr, &object, IID_IDirectDraw7, nullptr)) || !object) {
        failed_ = true;
        return nullptr;
    }
    IDirectDraw7* ddraw = static_cast<IDirectDraw7*>(object);
    // Shared by the windows of every channel: bound to none of them.
    if (FAILED(ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL))) {
        ddraw->Release();
        failed_ = true;
        return nullptr;
    }
    ++made_;
    object_.store(ddraw);
    return ddraw;
}
