#include "avi/AviCut.h"

#include "recordings/RecordFileName.h"

#include <cwchar>

TimeOfDay TimeFromHms(int hms)
{
    TimeOfDay t;
    t.hour = hms / 10000;
    t.minute = hms % 10000 / 100;
    t.second = hms % 100;
    return t;
}

int PackTime(const TimeOfDay& t)
{
    return t.hour << 16 | t.minute << 8 | t.second;
}

bool IsValidTime(const TimeOfDay& t)
{
    return t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59;
}

int CompareTimes(const TimeOfDay& a, const TimeOfDay& b)
{
    if (a.hour != b.hour)
        return a.hour < b.hour ? -1 : 1;
    if (a.minute != b.minute)
        return a.minute < b.minute ? -1 : 1;
    if (a.second != b.second)
        return a.second < b.second ? -1 : 1;
    return 0;
}

bool IsCutRangeAccepted(const TimeOfDay& start, const TimeOfDay& end)
{
    return IsValidTime(start) && IsValidTime(end) && CompareTimes(end, start) >= 0;
}

std::wstring TimeDigits(const TimeOfDay& t)
{
    wchar_t text[16];
    std::swprintf(text, 16, L"%02d%02d%02d", t.hour, t.minute, t.second);
    return text;
}

std::wstring AviOutputName(const std::wstring& name, const TimeOfDay& start, const TimeOfDay& end)
{
    return name.substr(0, 7) + TimeDigits(start) + L"-" + TimeDigits(end) + L".AVI";
}

std::wstring AviOutputPath(const std::wstring& destFolder, const std::wstring& sourceFolder,
                           const std::wstring& fileName)
{
    if (fileName.empty())
        return std::wstring();
    std::wstring folder = destFolder.empty() ? sourceFolder : destFolder;
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder + fileName;
}

bool SplitSourcePath(const std::wstring& path, std::wstring& folder, std::wstring& name)
{
    const size_t slash = path.find_last_of(L'\\');
    if (path.empty() || slash == 0 || slash + 1 == path.size())
        return false;
    if (slash == std::wstring::npos) {
        folder.clear();
        name = path;
        return true;
    }
    folder = path.substr(0, slash + 1);
    name = path.substr(slash + 1);
    return true;
}

bool RangeFromRecordName(const std::wstring& name, int& startHms, int& endHms, std::wstring& info)
{
    if (!IsRecordFileName(std::wstring_view(name)))
        return false;
    int start = 0, end = 0;
    std::wstring text;
    ParseRecordFileName(std::wstring_view(name), &start, &end, &text);
    if (start == end)
        return false;
    startHms = start;
    endHms = end;
    info = text;
    return true;
}

std::wstring HeaderRangeText(int startHms, int endHms)
{
    const TimeOfDay s = TimeFromHms(startHms), e = TimeFromHms(endHms);
    wchar_t text[32];
    std::swprintf(text, 32, L"%02d:%02d:%02d-%02d:%02d:%02d", s.hour, s.minute, s.second, e.hour, e.minute,
                  e.second);
    return text;
}

ProgressStep ReadProgress(int current, int total, int& perMille)
{
    if (current < 0)
        return ProgressStep::Failed;
    if (total <= 0)
        return ProgressStep::Ignore;
    if (current >= total) {
        perMille = 1000;
        return current == total ? ProgressStep::Finished : ProgressStep::Move;
    }
    perMille = static_cast<int>(current * 1000.0 / total);
    return ProgressStep::Move;
}
