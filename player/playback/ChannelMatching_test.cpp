#include "playback/ChannelMatching.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// A record of channel `channel` from start to end (HHMMSS) on 2026-12-`day`,
// named as the recorder names it; `headerChannel` is what the file's header
// gave (by default the same).
FileRecord Rec(int channel, int start, int end, int day = 10, int headerChannel = -1)
{
    FileRecord r;
    r.year = 26;
    r.month = 12;
    r.day = uint8_t(day);
    r.startHour = uint8_t(start / 10000);
    r.startMinute = uint8_t(start / 100 % 100);
    r.startSecond = uint8_t(start % 100);
    r.endHour = uint8_t(end / 10000);
    r.endMinute = uint8_t(end / 100 % 100);
    r.endSecond = uint8_t(end % 100);
    r.channel = headerChannel < 0 ? channel : headerChannel;
    wchar_t name[64];
    std::swprintf(name, 64, L"000-%02d-%06d-%06d-00p000.h264", channel, start, end);
    SetRecordName(r, name, std::wstring(L"C:\\card\\") + name);
    return r;
}

struct Found {
    int slot;
    int index;
};

void ExpectGroup(const ChannelGroup& g, std::vector<Found> found, const char* what)
{
    for (int k = 0; k < kChannelSlots; ++k) {
        int want = -1;
        for (const Found& f : found)
            if (f.slot == k)
                want = f.index;
        EXPECT_EQ(g.channelIndex[k], want) << what << ", slot " << k;
        EXPECT_EQ(g.channelFound[k], want >= 0 ? 1 : 0) << what << ", slot " << k;
    }
}

}  // namespace

TEST(ChannelMatching, FindsTheOtherChannelsOfTheGroup)
{
    struct Case {
        const char* what;
        std::vector<FileRecord> records;
        int selected;
        bool matched;
        std::vector<Found> found;
    } cases[] = {
        {"channels 1, 2, 4 fill slots 0, 1, 3",
         {Rec(1, 100000, 100500), Rec(2, 100000, 100500), Rec(4, 100000, 100500)}, 0, true,
         {{0, 0}, {1, 1}, {3, 2}}},
        {"channel 2 chosen: channel 1 at index 0 is found backwards",
         {Rec(1, 100000, 100500), Rec(2, 100000, 100500), Rec(3, 100000, 100500)}, 1, true,
         {{0, 0}, {1, 1}, {2, 2}}},
        {"a start 59 s before is taken",
         {Rec(1, 100100, 100600), Rec(2, 100001, 100600)}, 0, true, {{0, 0}, {1, 1}}},
        {"a start 60 s before is not",
         {Rec(1, 100100, 100600), Rec(2, 100000, 100600)}, 0, true, {{0, 0}}},
        {"a short record is not taken",
         {Rec(1, 100000, 100500), Rec(2, 100000, 100004)}, 0, true, {{0, 0}}},
        {"another date is not taken",
         {Rec(1, 100000, 100500), Rec(2, 100000, 100500, 11)}, 0, true, {{0, 0}}},
        {"a start right at the chosen end is not taken",
         {Rec(1, 100000, 100500), Rec(2, 100500, 101000)}, 0, true, {{0, 0}}},
        {"the next group is not taken",
         {Rec(1, 100000, 100500), Rec(2, 100000, 100500), Rec(1, 100500, 101000), Rec(2, 100500, 101000)}, 2, true,
         {{0, 2}, {1, 3}}},
        {"forward searches reach 8 records",
         {Rec(1, 100000, 100500), Rec(1, 100000, 100500), Rec(1, 100000, 100500), Rec(1, 100000, 100500),
          Rec(1, 100000, 100500), Rec(1, 100000, 100500), Rec(1, 100000, 100500), Rec(1, 100000, 100500),
          Rec(1, 100000, 100500), Rec(2, 100000, 100500)},
         0, true, {{0, 0}}},
        {"a backward match must end after the chosen start",
         {Rec(2, 95500, 100000), Rec(3, 100000, 100500)}, 1, true, {{2, 1}}},
        {"the header's channel 0 falls back to the name's",
         {Rec(1, 100000, 100500), Rec(3, 100000, 100500, 10, 0)}, 1, true, {{0, 0}, {2, 1}}},
        {"channel 0 in header and name writes nothing",
         {Rec(0, 100000, 100500)}, 0, false, {}},
        {"channel 9 writes nothing", {Rec(9, 100000, 100500)}, 0, false, {}},
        {"a header channel of 255 with a name of channel 12 writes nothing",
         {Rec(12, 100000, 100500, 10, 255)}, 0, false, {}},
        {"a selection outside the records", {Rec(1, 100000, 100500)}, 1, false, {}},
    };
    for (const Case& c : cases) {
        ChannelGroup g;
        EXPECT_EQ(MatchChannelFiles(c.records, c.selected, g), c.matched) << c.what;
        ExpectGroup(g, c.found, c.what);
    }
}

TEST(ChannelMatching, TheGroupTimesAreThoseOfItsEarliestFile)
{
    std::vector<FileRecord> records = {Rec(1, 100010, 100550), Rec(2, 100005, 100500), Rec(3, 100020, 100600)};
    ChannelGroup g;
    ASSERT_TRUE(MatchChannelFiles(records, 0, g));
    EXPECT_EQ(g.earliest, 1);
    // Equal starts keep the chosen record.
    records = {Rec(1, 100000, 100500), Rec(2, 100000, 100400)};
    ASSERT_TRUE(MatchChannelFiles(records, 1, g));
    EXPECT_EQ(g.earliest, 1);
}

TEST(ChannelMatching, TotalTimeTexts)
{
    struct Case {
        int start[3], end[3];
        const char* text;
    } cases[] = {
        {{10, 0, 0}, {10, 5, 0}, " / 05:00"},
        {{10, 0, 50}, {10, 5, 10}, " / 04:20"},
        {{10, 0, 10}, {10, 5, 50}, " / 05:40"},
        {{9, 59, 30}, {11, 0, 0}, " / 60:30"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TotalTimeText(c.start, c.end), c.text);
}

TEST(ChannelMatching, TheSlotThatEndsLastLeads)
{
    const std::vector<FileRecord> records = {
        Rec(1, 100000, 100500), Rec(2, 100000, 100510), Rec(3, 100000, 100510), Rec(4, 100000, 100500)};
    struct Case {
        const char* what;
        int index[kChannelSlots];
        int found[kChannelSlots];
        int candidate;
    } cases[] = {
        {"the later end wins", {0, 1, -1, -1, -1, -1, -1, -1}, {1, 1, 0, 0, 0, 0, 0, 0}, 1},
        {"equal ends keep the highest slot", {-1, 1, 2, -1, -1, -1, -1, -1}, {0, 1, 1, 0, 0, 0, 0, 0}, 2},
        {"equal ends keep the highest slot, whichever ends later", {0, -1, -1, 3, -1, -1, -1, -1},
         {1, 0, 0, 1, 0, 0, 0, 0}, 3},
        {"a slot not found takes no part", {0, 1, -1, -1, -1, -1, -1, -1}, {1, 0, 0, 0, 0, 0, 0, 0}, 0},
        {"an index outside the records takes no part", {0, 99, -1, -1, -1, -1, -1, -1}, {1, 1, 0, 0, 0, 0, 0, 0}, 0},
        {"... nor a negative one", {-1, -1, -1, -1, -1, -1, -1, -1}, {1, 1, 0, 0, 0, 0, 0, 0}, -1},
        {"none left", {0, 1, -1, -1, -1, -1, -1, -1}, {0, 0, 0, 0, 0, 0, 0, 0}, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseSyncCandidate(records, c.index, c.found), c.candidate) << c.what;

    // A record whose name's start and end agree counts from its start.
    std::vector<FileRecord> open = {Rec(1, 100000, 100500), Rec(2, 100000, 100000)};
    open[1].endMinute = 10;  // the engine saw it end at 10:10:00
    EXPECT_TRUE(NameStartEqualsEnd(open[1]));
    EXPECT_FALSE(NameStartEqualsEnd(open[0]));
    const int index[kChannelSlots] = {0, 1, -1, -1, -1, -1, -1, -1};
    const int found[kChannelSlots] = {1, 1, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(ChooseSyncCandidate(open, index, found), 0);
}

TEST(ChannelMatching, ShortRecordsAreSkippedForwards)
{
    std::vector<FileRecord> records = {Rec(1, 100000, 100004), Rec(1, 235958, 1), Rec(1, 100010, 100015),
                                       Rec(1, 100020, 100021)};
    EXPECT_TRUE(IsShortRecord(records[0]));
    EXPECT_TRUE(IsShortRecord(records[1]));  // crosses midnight
    EXPECT_FALSE(IsShortRecord(records[2]));
    EXPECT_EQ(FirstPlayableFrom(records, 0), 2);
    EXPECT_EQ(FirstPlayableFrom(records, 2), 2);
    EXPECT_EQ(FirstPlayableFrom(records, 3), -1);
    EXPECT_EQ(FirstPlayableFrom(records, 4), -1);
    EXPECT_EQ(FirstPlayableFrom(records, -1), -1);
}

TEST(ChannelMatching, NamesThatAreNotOpenedAndRecordsFoundAgain)
{
    struct Case {
        const wchar_t* path;
        bool playable;
    } cases[] = {
        {L"C:\\card\\000-01-100000-100500-00p000.h264", false},
        {L"C:\\card\\101-01-100000-100500-00p000.h264", true},
        {L"C:\\card\\9", true},
        {L"C:\\card\\", false},
        {L"", false},
        {L"201-01-100000-100500-00p000.h264", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsPlayableName(c.path), c.playable) << std::string(c.path, c.path + wcslen(c.path));

    std::vector<FileRecord> records = {Rec(1, 100000, 100500), Rec(2, 100000, 100500)};
    const std::wstring second = records[1].path;
    EXPECT_EQ(FindRecordByPath(records, second, 1), 1);
    EXPECT_EQ(FindRecordByPath(records, second, 0), 1);
    EXPECT_EQ(FindRecordByPath(records, second, 7), 1);
    records.erase(records.begin());
    EXPECT_EQ(FindRecordByPath(records, second, 1), 0);
    EXPECT_EQ(FindRecordByPath(records, L"C:\\card\\gone.h264", 0), -1);
    EXPECT_EQ(FindRecordByPath(records, L"", 0), -1);
}
