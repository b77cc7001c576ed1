#include "app/Relaunch.h"

#include <windows.h>

#include <vector>

namespace {
bool g_relaunchOnExit = false;
}

void SetRelaunchOnExit(bool on)
{
    g_relaunchOnExit = on;
}

bool RelaunchOnExit()
{
    return g_relaunchOnExit;
}

std::wstring RelaunchCommandLine(const std::wstring& exePath, const std::wstring& searchRoot)
{
    std::wstring command = L"\"" + exePath + L"\"";
    if (searchRoot.empty())
        return command;
    // A backslash before the closing quote would escape it: double it.
    const std::wstring tail = searchRoot.back() == L'\\' ? L"\\" : L"";
    return command + L" \"" + searchRoot + tail + L"\"";
}

bool StartFreshCopy(const std::wstring& searchRoot)
{
    std::vector<wchar_t> path(32768);
    DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size())
        return false;
    std::vector<wchar_t> longPath(32768);
    DWORD m = ::GetLongPathNameW(path.data(), longPath.data(), static_cast<DWORD>(longPath.size()));
    std::wstring exe = (m > 0 && m < longPath.size()) ? longPath.data() : path.data();

    // Quoted and with the application named, so a folder with blanks in its
    // name cannot start another program.
    std::wstring cmd = RelaunchCommandLine(exe, searchRoot);
    std::vector<wchar_t> cmdBuf(cmd.begin(), cmd.end());
    cmdBuf.push_back(L'\0');
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(exe.c_str(), cmdBuf.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE, nullptr,
                          nullptr, &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}
