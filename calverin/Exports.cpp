// The converter's three exports and its table of handles.
#include "Calverin.h"

#include "Conversion.h"
#include "CutTimes.h"
#include "FileQuib.h"
#include "ProgressGate.h"

#include <windows.h>

#include <limits.h>

#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

namespace {

using calverin::ConversionRequest;
using calverin::ProgressGate;

// What a handle holds: the paths until its conversion starts, the callback.
struct Job {
    std::string source, target;
    ProgressGate gate;
    bool started = false;
};

// Handles and their conversions. A handle leaves the table when its
// conversion has ended; numbers are never given out twice.
class HandleTable {
public:
    int Add(std::shared_ptr<Job> c) {
        std::lock_guard<std::mutex> hold(lock_);
        if (next_ == INT_MAX) return 0;
        int h = next_++;
        table_[h] = std::move(c);
        return h;
    }
    std::shared_ptr<Job> Find(int h) {
        std::lock_guard<std::mutex> hold(lock_);
        auto it = table_.find(h);
        return it == table_.end() ? nullptr : it->second;
    }
    bool WasGivenOut(int h) {
        std::lock_guard<std::mutex> hold(lock_);
        return h > 0 && h < next_;
    }
    // Marks the conversion started; false when it was already.
    bool Start(Job& c) {
        std::lock_guard<std::mutex> hold(lock_);
        if (c.started) return false;
        c.started = true;
        return true;
    }
    void Unstart(Job& c) {
        std::lock_guard<std::mutex> hold(lock_);
        c.started = false;
    }
    void Remove(int h) {
        std::lock_guard<std::mutex> hold(lock_);
        table_.erase(h);
    }

private:
    std::mutex lock_;   // guards table_, next_ and every job's `started`
    std::map<int, std::shared_ptr<Job>> table_;
    int next_ = 1;
};

// Never destroyed: a conversion thread may still run while the process
// ends and static objects go.
HandleTable& Handles() {
    static HandleTable* table = new HandleTable;
    return *table;
}

struct ThreadStart {
    int handle;
    std::shared_ptr<Job> job;
    ConversionRequest request;
    HMODULE module;   // kept loaded while the thread runs
};

void RunOnThread(ThreadStart* start) {
    calverin::RunConversion(start->request, start->job->gate);
    // Its last callback has returned: the handle is finished.
    Handles().Remove(start->handle);
    delete start;
}

DWORD WINAPI ConversionThread(LPVOID param) {
    ThreadStart* start = static_cast<ThreadStart*>(param);
    HMODULE module = start->module;
    RunOnThread(start);
    FreeLibraryAndExitThread(module, 0);
}

// An address inside this library, to find the library by.
const char kModuleAnchor = 0;

bool Usable(const char* path) { return path && path[0]; }

// Writing onto the recording itself would replace it with the clip.
bool SameFile(const char* a, const char* b) {
    char fullA[MAX_PATH], fullB[MAX_PATH];
    DWORD na = GetFullPathNameA(a, MAX_PATH, fullA, nullptr);
    DWORD nb = GetFullPathNameA(b, MAX_PATH, fullB, nullptr);
    if (na == 0 || na >= MAX_PATH || nb == 0 || nb >= MAX_PATH) return lstrcmpiA(a, b) == 0;
    return lstrcmpiA(fullA, fullB) == 0;
}

}  // namespace

CALVERIN_API int __cdecl CONVERTDLL_InitDllMange(const char* source, const char* target) {
    if (!Usable(source) || !Usable(target) || SameFile(source, target)) return 0;
    {
        CFileQuib probe;
        FileInfo info = FileInfo();
        if (probe.ProbeFileParam(&info, source) != 0) return 0;
    }
    std::shared_ptr<Job> c(new (std::nothrow) Job);
    if (!c) return 0;
    c->source = source;
    c->target = target;
    return Handles().Add(std::move(c));
}

CALVERIN_API int __cdecl CONVERTDLL_RegisterCovInfoCallBack(int handle, void* user, CovInfoCallBackProc callback) {
    std::shared_ptr<Job> c = Handles().Find(handle);
    if (c) {
        c->gate.Set(user, callback);
        return 0;
    }
    // A finished conversion calls nothing any more.
    return Handles().WasGivenOut(handle) ? 0 : 1;
}

CALVERIN_API int __cdecl CONVERTDLL_ConvertH264ToAVI(int handle, int /*reserved1*/, int /*reserved2*/, int cutStart,
                                                     int cutEnd, int /*recordedEnd*/) {
    ConversionRequest request;
    if (!calverin::UnpackTime(cutStart, &request.cutStart) || !calverin::UnpackTime(cutEnd, &request.cutEnd))
        return 1;
    if (cutEnd < cutStart) return 1;
    std::shared_ptr<Job> c = Handles().Find(handle);
    if (!c || !Handles().Start(*c)) return 1;
    request.source = c->source;
    request.target = c->target;

    ThreadStart* start = new (std::nothrow) ThreadStart{handle, c, request, nullptr};
    if (start && !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&kModuleAnchor),
                                     &start->module))
        start->module = nullptr;
    HANDLE thread = start && start->module ? CreateThread(nullptr, 0, ConversionThread, start, 0, nullptr) : nullptr;
    if (!thread) {
        if (start && start->module) FreeLibrary(start->module);
        delete start;
        Handles().Unstart(*c);
        return 1;
    }
    CloseHandle(thread);
    return 0;
}
