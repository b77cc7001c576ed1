#include "recordings/RecordRows.h"

#include "StringIds.h"

#include <cwchar>

int KindStringId(const FileRecord& r)
{
    if (r.kind == kKindNormal)
        return IDS_NORMAL_VIDEO;
    if (r.kind != kKindAlarm)
        return IDS_OTHERS;
    switch (r.name[0] ? r.name[1] : L'\0') {
    case L'2': return IDS_MOVE_ALARM;
    case L'3': return IDS_IMPACT_ALARM;
    case L'4': return IDS_IO_ALARM;
    default: return IDS_ALARM_VIDEO;
    }
}

std::wstring SizeText(uint64_t bytes)
{
    wchar_t text[48];
    std::swprintf(text, 48, L"%0.1fM", static_cast<double>(bytes) / 1048576.0);
    return text;
}

std::array<std::wstring, 6> RecordRowTexts(const FileRecord& r, const std::wstring& kindText)
{
    wchar_t channel[16], date[32], start[32], end[32];
    std::swprintf(channel, 16, L"%d", r.channel);
    std::swprintf(date, 32, L"%04d-%02d-%02d", 2000 + r.year, r.month, r.day);
    std::swprintf(start, 32, L"%02d:%02d:%02d", r.startHour, r.startMinute, r.startSecond);
    std::swprintf(end, 32, L"%02d:%02d:%02d", r.endHour, r.endMinute, r.endSecond);
    return {channel, date, start, end, kindText, SizeText(r.size)};
}

std::vector<int> PlayingRows(const std::vector<std::wstring>& rowPaths, const std::vector<std::wstring>& playingPaths)
{
    std::vector<int> rows;
    for (size_t row = 0; row < rowPaths.size(); ++row)
        for (const std::wstring& playing : playingPaths)
            if (!playing.empty() && rowPaths[row] == playing) {
                rows.push_back(static_cast<int>(row));
                break;
            }
    return rows;
}
