#include "recordings/FileRecord.h"

#include "recordings/RecordFileName.h"

#include <algorithm>
#include <cwchar>

namespace {

template <size_t N>
void CopyCut(wchar_t (&target)[N], std::wstring_view text)
{
    size_t n = std::min(text.size(), N - 1);
    std::wmemcpy(target, text.data(), n);
    target[n] = L'\0';
}

uint8_t Byte(int value)
{
    return static_cast<uint8_t>(value);
}

}  // namespace

void SetRecordName(FileRecord& record, std::wstring_view name, std::wstring_view path)
{
    CopyCut(record.name, name);
    CopyCut(record.path, path);
}

void ParseNameTimes(std::wstring_view name, FileRecord& record, const SYSTEMTIME& engineStart,
                    const SYSTEMTIME& engineEnd)
{
    record.year = Byte(engineStart.wYear);
    record.month = Byte(engineStart.wMonth);
    record.day = Byte(engineStart.wDay);
    record.startHour = Byte(engineStart.wHour);
    record.startMinute = Byte(engineStart.wMinute);
    record.startSecond = Byte(engineStart.wSecond);
    record.endHour = Byte(engineEnd.wHour);
    record.endMinute = Byte(engineEnd.wMinute);
    record.endSecond = Byte(engineEnd.wSecond);
    if (!IsRecordFileName(name))
        return;
    const int start[3] = {RecordNameField(name, 7), RecordNameField(name, 9), RecordNameField(name, 11)};
    const int end[3] = {RecordNameField(name, 14), RecordNameField(name, 16), RecordNameField(name, 18)};
    record.startHour = Byte(start[0]);
    record.startMinute = Byte(start[1]);
    record.startSecond = Byte(start[2]);
    if (std::equal(start, start + 3, end))
        return;  // a name whose two times agree: the file knows the end
    record.endHour = Byte(end[0]);
    record.endMinute = Byte(end[1]);
    record.endSecond = Byte(end[2]);
}

bool CompareFileRecords(const FileRecord& a, const FileRecord& b)
{
    const uint8_t FileRecord::*fields[] = {&FileRecord::year, &FileRecord::month, &FileRecord::day,
                                           &FileRecord::startHour, &FileRecord::startMinute};
    for (auto f : fields)
        if (a.*f != b.*f)
            return a.*f < b.*f;
    int d = int(a.startSecond) - int(b.startSecond);
    if (d <= -15)
        return true;
    if (d >= 15)
        return false;
    return a.channel < b.channel;
}

void SortFileRecords(std::vector<FileRecord>& records)
{
    // Bottom-up merge sort over a second buffer. Each step moves exactly
    // one record to the next free place of the target run, so the bounds
    // hold and the work ends for any comparison answers.
    const size_t n = records.size();
    if (n < 2)
        return;
    std::vector<FileRecord> buffer(n);
    std::vector<FileRecord>* from = &records;
    std::vector<FileRecord>* to = &buffer;
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                (*to)[k++] = CompareFileRecords((*from)[j], (*from)[i]) ? (*from)[j++] : (*from)[i++];
            while (i < mid)
                (*to)[k++] = (*from)[i++];
            while (j < hi)
                (*to)[k++] = (*from)[j++];
        }
        std::swap(from, to);
    }
    if (from != &records)
        records.swap(buffer);
}

std::vector<FileRecord> RecordsOfType(const std::vector<FileRecord>& all, int typeIndex)
{
    std::vector<FileRecord> out;
    if (typeIndex != kTypeTimer && typeIndex != kTypeAlarm)
        return out;
    const int32_t kind = typeIndex == kTypeTimer ? kKindNormal : kKindAlarm;
    for (const FileRecord& r : all)
        if (r.kind == kind)
            out.push_back(r);
    return out;
}
