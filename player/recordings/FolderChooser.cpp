#include "recordings/FolderChooser.h"

#include <shlobj.h>

namespace {

// Opens the chooser at the folder it was given.
int CALLBACK OnChooserEvent(HWND chooser, UINT event, LPARAM, LPARAM start)
{
    if (event == BFFM_INITIALIZED && start)
        ::SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD a = ::GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool ChooseFolder(HWND owner, const wchar_t* title, UINT flags, std::wstring& path, const std::wstring& start)
{
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = flags;
    if (!start.empty()) {
        info.lpfn = &OnChooserEvent;
        info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    }
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

std::wstring ChooserStartFolder(const std::wstring& storagePath)
{
    if (storagePath.empty())
        return std::wstring();
    if (IsFolder(storagePath))
        return storagePath;
    // A recording file: the folder that holds it.
    const DWORD a = ::GetFileAttributesW(storagePath.c_str());
    const size_t slash = storagePath.find_last_of(L"\\/");
    if (a == INVALID_FILE_ATTRIBUTES || slash == std::wstring::npos)
        return std::wstring();
    const std::wstring folder = storagePath.substr(0, slash);
    return IsFolder(folder) ? folder : std::wstring();
}
