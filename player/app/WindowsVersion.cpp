#include "app/WindowsVersion.h"

#include "app/MainLayout.h"

#include <windows.h>

int DetectWindowsVersion()
{
    // RtlGetVersion answers with the real version on every architecture,
    // whatever the program's manifest says.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto get = ntdll ? reinterpret_cast<RtlGetVersionFn>(
                           reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")))
                     : nullptr;
    if (!get)
        return WindowsVersionCode(0, 0);
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
    if (get(&info) != 0)
        return WindowsVersionCode(0, 0);
    return WindowsVersionCode(info.dwMajorVersion, info.dwMinorVersion);
}
