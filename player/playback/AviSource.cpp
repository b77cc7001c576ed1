#include "playback/AviSource.h"

#include <cwchar>

bool AviSourceFor(const std::wstring& path, int channelNumber, const int start[3], const int end[3],
                  AviSource& out)
{
    const size_t slash = path.find_last_of(L'\\');
    if (path.empty() || slash == std::wstring::npos || slash == 0)
        return false;
    out.folder = path.substr(0, slash + 1);
    out.name = path.substr(slash + 1);
    out.parseName.clear();
    if (out.name.size() == 32 && out.name.compare(7, 6, out.name, 14, 6) != 0)
        return true;
    wchar_t text[64];
    std::swprintf(text, 64, L"201-0%d-%02d%02d%02d-%02d%02d%02d-02p000.h264", channelNumber, start[0], start[1],
                  start[2], end[0], end[1], end[2]);
    out.parseName = text;
    return true;
}
