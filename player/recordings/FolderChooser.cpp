#include "recordings/FolderChooser.h"

#include <shlobj.h>

bool ChooseFolder(HWND owner, const wchar_t* title, UINT flags, std::wstring& path)
{
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = flags;
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&info);
    if (!item)
        return false;
    wchar_t chosen[MAX_PATH] = {};
    const bool ok = ::SHGetPathFromIDListW(item, chosen) && chosen[0];
    ::CoTaskMemFree(item);
    if (ok)
        path = chosen;
    return ok;
}
