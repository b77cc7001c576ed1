#include "recordings/UnreachablePath.h"

#include "LanguageHolder.h"
#include "StringIds.h"

std::wstring UnreachablePathsText(const std::vector<std::wstring>& paths)
{
    const std::wstring reason = CurrentText(IDS_PATH_NO_SHORT_NAME);
    std::wstring text;
    for (const std::wstring& path : paths) {
        if (!text.empty())
            text += L"\r\n";
        text += path + L" " + reason;
    }
    return text;
}

void ShowUnreachablePaths(HWND owner, const std::vector<std::wstring>& paths)
{
    if (paths.empty())
        return;
    ::MessageBoxW(owner, UnreachablePathsText(paths).c_str(), L"", MB_OK | MB_ICONEXCLAMATION);
}
