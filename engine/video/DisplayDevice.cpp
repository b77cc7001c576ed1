#include "DisplayDevice.h"

#include <string.h>

#include <new>

DisplayDevice& DisplayDevice::Shared() {
    // Made on first use and never destroyed (see the header).
    static DisplayDevice* shared = new DisplayDevice(LookUpCreate(L"ddraw.dll"));
    return *shared;
}

DisplayDevice::CreateProc DisplayDevice::LookUpCreate(const wchar_t* library) {
    HMODULE module = LoadLibraryW(library);
    if (!module) return nullptr;
    // Kept loaded: the shared device lives as long as the process.
    return reinterpret_cast<CreateProc>(reinterpret_cast<void*>(GetProcAddress(module, "DirectDrawCreateEx")));
}

DisplayDevice::DisplayDevice(CreateProc create)
    : create_(create), madeEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

DisplayDevice::~DisplayDevice() {
    worker_.Stop();   // it ends by itself once the object is made
    if (primary_) primary_->Release();
    if (IDirectDraw7* object = object_.load()) object->Release();
    if (madeEvent_) CloseHandle(madeEvent_);
}

IDirectDraw7* DisplayDevice::Make() {
    if (IDirectDraw7* made = object_.load()) return made;
    if (failed_.load() || !madeEvent_) return nullptr;
    {
        CAutoLock hold(makeLock_);
        if (making_) {
            // Another thread makes it: wait for that one, outside the lock.
            hold.Unlock();
            WaitForSingleObject(madeEvent_, INFINITE);
            return object_.load();
        }
        making_ = true;
    }
    IDirectDraw7* ddraw = MakeObject();
    SetEvent(madeEvent_);
    return ddraw;
}

IDirectDraw7* DisplayDevice::MakeObject() {
    void* object = nullptr;
    IDirectDraw7* ddraw = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    bool ok = create_ && SUCCEEDED(create_(nullptr, &object, IID_IDirectDraw7, nullptr)) && object;
    if (ok) {
        ddraw = static_cast<IDirectDraw7*>(object);
        // Shared by the windows of every display: bound to none of them.
        ok = SUCCEEDED(ddraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL));
    }
    if (ok) {
        DDCAPS caps;
        memset(&caps, 0, sizeof caps);
        caps.dwSize = sizeof caps;
        ok = SUCCEEDED(ddraw->GetCaps(&caps, nullptr)) && (caps.dwCaps & (DDCAPS_BLTFOURCC | DDCAPS_BLT));
    }
    if (ok) {
        DDSURFACEDESC2 sd;
        memset(&sd, 0, sizeof sd);
        sd.dwSize = sizeof sd;
        sd.dwFlags = DDSD_CAPS;
        sd.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        ok = SUCCEEDED(ddraw->CreateSurface(&sd, &primary, nullptr)) && primary;
    }
    if (!ok) {
        if (primary) primary->Release();
        if (ddraw) ddraw->Release();
        failed_.store(true);
        return nullptr;
    }
    primary_ = primary;
    ++made_;
    object_.store(ddraw);
    return ddraw;
}

int DisplayDevice::MakeOnWorker(void* self) {
    // The worker holds the module it runs in (the library, when it is one)
    // and lets it go as it ends, so that an unload waits for it.
    HMODULE held = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&DisplayDevice::Shared), &held);
    DisplayDevice* device = static_cast<DisplayDevice*>(self);
    DWORD delay;
    {
        CAutoLock hold(device->workerLock_);
        delay = device->delay_;
    }
    // The wait ends early only when the device is destroyed (a test's own).
    if (!device->worker_.WaitForStop(delay)) device->Make();
    if (held) FreeLibraryAndExitThread(held, 0);
    return 0;
}

void DisplayDevice::MakeSoon(DWORD afterMs) {
    if (object_.load() || failed_.load()) return;
    CAutoLock hold(workerLock_);
    // A worker that has ended keeps its thread until stopped: one that ends
    // without making the object has failed, and is not started again.
    if (worker_.IsRunning()) return;
    delay_ = afterMs;
    worker_.Start(&DisplayDevice::MakeOnWorker, this);
}

HRESULT DisplayDevice::Present(IDirectDrawClipper* clipper, RECT* screenRect, IDirectDrawSurface7* picture) {
    if (!object_.load() || !primary_) return DDERR_NOTINITIALIZED;
    CAutoLock hold(presentLock_);
    HRESULT hr = primary_->SetClipper(clipper);
    if (FAILED(hr)) return hr;
    hr = primary_->Blt(screenRect, picture, nullptr, DDBLT_WAIT, nullptr);
    if (hr == DDERR_SURFACELOST) primary_->Restore();
    return hr;
}
