#include "playback/StreamInfoText.h"

#include "recordings/RecordFileName.h"
#include "StringIds.h"

namespace {

const wchar_t kBlanks[] = L" \t\r\n";

std::wstring Trimmed(const std::wstring& s)
{
    size_t first = s.find_first_not_of(kBlanks);
    if (first == std::wstring::npos)
        return std::wstring();
    size_t last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

}  // namespace

CString StreamInfoText(const std::wstring& path, const std::function<CString(int)>& text)
{
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || path.size() - slash - 1 != 32)
        return text(IDS_UNKNOWN_INFORMATION);
    std::wstring info;
    ParseRecordFileName(std::wstring_view(path).substr(slash + 1), nullptr, nullptr, &info);
    info = Trimmed(info);
    if (info.size() <= 20)
        return text(IDS_UNKNOWN_INFORMATION);

    CString out;
    const CString unknown = text(IDS_UNKNOWN);
    // Lines 1 to 4: the text up to the next blank, or "Unknown" (line 1
    // then says "Time:") with info left as it is.
    const int labels[4] = {IDS_TIME_INTERVAL, IDS_CHANNEL, IDS_STANDARD, IDS_MODEL};
    for (int line = 0; line < 4; ++line) {
        size_t blank = info.find(L' ');
        if (blank == std::wstring::npos) {
            out += text(line == 0 ? IDS_TIME : labels[line]) + unknown;
        } else {
            out += text(labels[line]) + info.substr(0, blank);
            info.erase(0, blank + 1);
        }
        out += L"\r\n";
    }
    out += text(IDS_FRAME_RATE) + (info.empty() ? unknown : CString(info));
    out += L"\r\n";
    return out;
}
