#include "AnsiPath.h"

#include <windows.h>

namespace {

bool ToAnsi(const std::wstring& path, std::string& out)
{
    BOOL lossy = FALSE;
    int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (n <= 0 || lossy)
        return false;
    out.assign(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path.c_str(), -1, &out[0], n, nullptr, &lossy);
    out.resize(static_cast<size_t>(n) - 1);
    return !lossy;
}

}  // namespace

bool AnsiPath(const std::wstring& path, std::string& out)
{
    if (ToAnsi(path, out))
        return true;
    DWORD n = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0)
        return false;
    std::wstring shortPath(n, L'\0');
    n = ::GetShortPathNameW(path.c_str(), &shortPath[0], n);
    if (n == 0 || n >= shortPath.size())
        return false;
    shortPath.resize(n);
    return ToAnsi(shortPath, out);
}

bool AnsiPathOfNewFile(const std::wstring& path, std::string& out)
{
    if (ToAnsi(path, out))
        return true;
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return false;
    std::string folder, name;
    if (!AnsiPath(path.substr(0, slash + 1), folder) || !ToAnsi(path.substr(slash + 1), name))
        return false;
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    out = folder + name;
    return true;
}
