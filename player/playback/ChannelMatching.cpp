#include "playback/ChannelMatching.h"

#include "recordings/RecordFileName.h"

#include <cstdio>

namespace {

// The searches for the other channels, by the chosen record's channel:
// positive n = forward search for channel n, negative = backward.
const int kSearches[8][14] = {
    {2, 3, 4, 5, 6, 7, 8, -8, -7, -6},
    {-1, 3, 4, 5, 6, 7, 8, 1, -4, -3, -5, -6, -7, -8},
    {-2, -1, 4, 1, 2, 5, 6, 7, 8, -4, -5, -6, -7, -8},
    {-3, -2, -1, -5, -6, -7, -8, 1, 2, 3, 5, 6, 7, 8},
    {-3, -2, -1, -4, -6, -7, -8, 1, 2, 3, 4, 6, 7, 8},
    {-3, -2, -1, -4, -5, -7, -8, 1, 2, 3, 4, 5, 7, 8},
    {-3, -2, -1, -4, -5, -6, -8, 1, 2, 3, 4, 5, 6, 8},
    {-3, -2, -1, -4, -5, -7, -6, 1, 2, 3, 4, 5, 7, 6},
};
const int kSearchReach = 8;

bool SameDate(const FileRecord& a, const FileRecord& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

int Duration(const FileRecord& r)
{
    return EndSeconds(r) - StartSeconds(r);
}

bool InRange(const std::vector<FileRecord>& records, int i)
{
    return i >= 0 && static_cast<size_t>(i) < records.size();
}

// The end that decides which channel leads after another ended.
int EffectiveEnd(const FileRecord& r)
{
    return NameStartEqualsEnd(r) ? StartSeconds(r) : EndSeconds(r);
}

void Take(ChannelGroup& g, int channel, int index)
{
    g.channelIndex[channel - 1] = index;
    g.channelFound[channel - 1] = 1;
}

void SearchForward(const std::vector<FileRecord>& records, int s, int n, ChannelGroup& g)
{
    const FileRecord& sel = records[s];
    for (int i = s + 1; i <= s + kSearchReach && InRange(records, i); ++i) {
        const FileRecord& r = records[i];
        const bool startsInside = StartSeconds(r) < EndSeconds(sel) ||
            (StartSeconds(r) == EndSeconds(sel) && EndSeconds(r) - EndSeconds(sel) < 5);
        if (StartSeconds(r) >= StartSeconds(sel) - 59 && startsInside && Duration(r) > 4 && SameDate(r, sel) &&
            RecordChannel(r) == n && !g.channelFound[n - 1]) {
            Take(g, n, i);
            return;
        }
    }
}

void SearchBackward(const std::vector<FileRecord>& records, int s, int n, ChannelGroup& g)
{
    if (g.channelFound[n - 1])
        return;
    const FileRecord& sel = records[s];
    for (int i = s - 1; i >= s - kSearchReach && i >= 0; --i) {
        const FileRecord& r = records[i];
        if (EndSeconds(r) > StartSeconds(sel) && Duration(r) > 4 && SameDate(r, sel) && RecordChannel(r) == n) {
            Take(g, n, i);
            return;
        }
    }
}

}  // namespace

ChannelGroup::ChannelGroup()
{
    for (int k = 0; k < kChannelSlots; ++k) {
        channelIndex[k] = -1;
        channelFound[k] = 0;
    }
}

int StartSeconds(const FileRecord& r)
{
    return r.startHour * 3600 + r.startMinute * 60 + r.startSecond;
}

int EndSeconds(const FileRecord& r)
{
    return r.endHour * 3600 + r.endMinute * 60 + r.endSecond;
}

bool NameStartEqualsEnd(const FileRecord& r)
{
    std::wstring_view name(r.name);
    size_t parts[5] = {};  // start of each of the first five parts
    size_t count = 1;
    for (size_t i = 0; i < name.size() && count < 5; ++i)
        if (name[i] == L'-')
            parts[count++] = i + 1;
    if (count < 4)
        return false;
    std::wstring_view start = name.substr(parts[2]), end = name.substr(parts[3]);
    if (start.size() < 6 || end.size() < 6)
        return false;
    return start.substr(0, 6) == end.substr(0, 6);
}

bool IsShortRecord(const FileRecord& r)
{
    return Duration(r) <= 4;
}

int RecordChannel(const FileRecord& r)
{
    if (r.channel >= 1 && r.channel <= kChannelSlots)
        return r.channel;
    std::wstring_view name(r.name);
    if (IsRecordFileName(name)) {
        int c = ParseRecordFileName(name, nullptr, nullptr, nullptr);
        if (c >= 1 && c <= kChannelSlots)
            return c;
    }
    return 0;
}

bool IsPlayableName(const std::wstring& path)
{
    size_t slash = path.find_last_of(L'\\');
    size_t first = slash == std::wstring::npos ? 0 : slash + 1;
    return first < path.size() && path[first] >= L'1' && path[first] <= L'9';
}

bool MatchChannelFiles(const std::vector<FileRecord>& records, int s, ChannelGroup& group)
{
    group = ChannelGroup();
    if (!InRange(records, s))
        return false;
    const int c = RecordChannel(records[s]);
    if (c == 0)
        return false;
    Take(group, c, s);
    for (int n : kSearches[c - 1]) {
        if (n > 0)
            SearchForward(records, s, n, group);
        else if (n < 0)
            SearchBackward(records, s, -n, group);
    }

    // The earliest start: the chosen record first, then the slots in order.
    group.earliest = s;
    for (int k = 0; k < kChannelSlots; ++k) {
        int i = group.channelIndex[k];
        if (group.channelFound[k] && i >= 0 && StartSeconds(records[i]) < StartSeconds(records[group.earliest]))
            group.earliest = i;
    }
    return true;
}

std::string TotalTimeText(const int start[3], const int end[3])
{
    int minutes = (end[0] - start[0]) * 60 + end[1] - start[1];
    int seconds = end[2] - start[2];
    if (end[2] < start[2]) {
        seconds += 60;
        minutes -= 1;
    }
    char text[32];
    std::snprintf(text, sizeof text, " / %02d:%02d", minutes, seconds);
    return text;
}

int ChooseSyncCandidate(const std::vector<FileRecord>& records, const int channelIndex[kChannelSlots],
                        const int channelFound[kChannelSlots])
{
    auto usable = [&](int k) { return channelFound[k] && InRange(records, channelIndex[k]); };
    int candidate = -1;
    for (int k = kChannelSlots - 1; k >= 0 && candidate < 0; --k)
        if (usable(k))
            candidate = k;
    if (candidate < 0)
        return -1;
    int candidateEnd = EffectiveEnd(records[channelIndex[candidate]]);
    for (int k = 0; k < kChannelSlots; ++k) {
        if (k == candidate || !usable(k))
            continue;
        int end = EffectiveEnd(records[channelIndex[k]]);
        if (end > candidateEnd) {
            candidate = k;
            candidateEnd = end;
        }
    }
    return candidate;
}

int LeadEndSeconds(const FileRecord& r)
{
    return EffectiveEnd(r);
}

int FirstPlayableFrom(const std::vector<FileRecord>& records, int from)
{
    for (int i = from; InRange(records, i); ++i)
        if (!IsShortRecord(records[i]))
            return i;
    return -1;
}

int FindRecordByPath(const std::vector<FileRecord>& records, const std::wstring& path, int hint)
{
    if (path.empty())
        return -1;
    if (InRange(records, hint) && path == records[hint].path)
        return hint;
    for (size_t i = 0; i < records.size(); ++i)
        if (path == records[i].path)
            return static_cast<int>(i);
    return -1;
}
