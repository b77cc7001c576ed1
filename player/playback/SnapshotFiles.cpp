#include "playback/SnapshotFiles.h"

#include <cwchar>

bool SnapshotName(const std::wstring& recordingPath, const SYSTEMTIME& now,
                  const std::function<bool(const std::wstring&)>& exists, std::wstring& name)
{
    const size_t dot = recordingPath.find_last_of(L'.');
    const std::wstring base = dot == std::wstring::npos ? recordingPath : recordingPath.substr(0, dot);
    wchar_t stamp[48];
    std::swprintf(stamp, sizeof stamp / sizeof stamp[0], L" %4d-%02d-%02d %02d_%02d_%02d", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::wstring stem = base + stamp;
    for (int n = 1; n <= 99; ++n) {
        std::wstring candidate = stem;
        if (n > 1)
            candidate += L" (" + std::to_wstring(n) + L")";
        candidate += L".bmp";
        if (candidate.size() > kMaxSnapshotPath)
            return false;
        if (!exists || !exists(candidate)) {
            name = candidate;
            return true;
        }
    }
    return false;
}

std::wstring FolderOfFile(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return std::wstring();
    if (slash == 2 && path[1] == L':')
        return path.substr(0, 3);
    return path.substr(0, slash);
}

std::wstring SnapshotNoticeText(const std::vector<SnapshotResult>& results, const std::wstring& saved,
                                const std::wstring& failed, const std::wstring& tooLong,
                                const std::wstring& unreachable)
{
    std::wstring text;
    for (const SnapshotResult& r : results) {
        if (!text.empty())
            text += L"\r\n";
        const std::wstring& what = r.outcome == SnapshotResult::Saved         ? saved
                                   : r.outcome == SnapshotResult::Failed      ? failed
                                   : r.outcome == SnapshotResult::Unreachable ? unreachable
                                                                              : tooLong;
        text += r.path + L" " + what;
    }
    return text;
}

std::vector<std::wstring> SnapshotFolders(const std::vector<SnapshotResult>& results)
{
    std::vector<std::wstring> folders;
    for (const SnapshotResult& r : results) {
        if (r.outcome != SnapshotResult::Saved)
            continue;
        const std::wstring folder = FolderOfFile(r.path);
        if (folder.empty())
            continue;
        bool seen = false;
        for (const std::wstring& f : folders)
            seen = seen || ::lstrcmpiW(f.c_str(), folder.c_str()) == 0;
        if (!seen)
            folders.push_back(folder);
    }
    return folders;
}
