#include "recordings/FileRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

namespace {

SYSTEMTIME Time(int year, int month, int day, int h, int m, int s)
{
    SYSTEMTIME t = {};
    t.wYear = WORD(year);
    t.wMonth = WORD(month);
    t.wDay = WORD(day);
    t.wHour = WORD(h);
    t.wMinute = WORD(m);
    t.wSecond = WORD(s);
    return t;
}

FileRecord At(int minute, int second, int channel, int tag = 0)
{
    FileRecord r;
    r.year = 26;
    r.month = 12;
    r.day = 10;
    r.startHour = 8;
    r.startMinute = uint8_t(minute);
    r.startSecond = uint8_t(second);
    r.channel = channel;
    r.size = uint64_t(tag);  // tells records apart after sorting
    return r;
}

}  // namespace

TEST(FileRecord, DefaultIsAllZeros)
{
    FileRecord r;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&r);
    EXPECT_TRUE(std::all_of(p, p + sizeof r, [](unsigned char c) { return c == 0; }));
}

TEST(FileRecord, NameAndPathAreCutToFit)
{
    FileRecord r;
    std::wstring longName(300, L'n'), longPath(600, L'p');
    SetRecordName(r, longName, longPath);
    EXPECT_EQ(std::wstring(r.name), longName.substr(0, 255));
    EXPECT_EQ(std::wstring(r.path), longPath.substr(0, 511));
    SetRecordName(r, L"a.h264", L"C:\\a.h264");
    EXPECT_STREQ(r.name, L"a.h264");
    EXPECT_STREQ(r.path, L"C:\\a.h264");
}

TEST(FileRecord, ParseNameTimesTakesTheNameOnlyWhenItFollowsTheRule)
{
    const SYSTEMTIME start = Time(26, 12, 10, 7, 1, 2), end = Time(26, 12, 10, 7, 3, 4);
    struct Case {
        const wchar_t* name;
        int start[3], end[3];
    } cases[] = {
        {L"201-02-101500-102000-02p000.h264", {10, 15, 0}, {10, 20, 0}},
        // Equal times in the name: the end comes from the file.
        {L"201-02-101500-101500-02p000.h264", {10, 15, 0}, {7, 3, 4}},
        // 31 and 33 characters, a wrong extension, a missing dash: the file
        // gives both times.
        {L"201-02-101500-102000-02p00.h264", {7, 1, 2}, {7, 3, 4}},
        {L"201-02-101500-102000-02p0000.h264", {7, 1, 2}, {7, 3, 4}},
        {L"201-02-101500-102000-02p000.H264", {7, 1, 2}, {7, 3, 4}},
        {L"201-02-101500x102000-02p000.h264", {7, 1, 2}, {7, 3, 4}},
        {L"junk.h264", {7, 1, 2}, {7, 3, 4}},
    };
    for (const Case& c : cases) {
        FileRecord r;
        ParseNameTimes(c.name, r, start, end);
        EXPECT_EQ(r.year, 26) << c.name;
        EXPECT_EQ(r.month, 12) << c.name;
        EXPECT_EQ(r.day, 10) << c.name;
        EXPECT_EQ((std::vector<int>{r.startHour, r.startMinute, r.startSecond}),
                  (std::vector<int>{c.start[0], c.start[1], c.start[2]}))
            << c.name;
        EXPECT_EQ((std::vector<int>{r.endHour, r.endMinute, r.endSecond}),
                  (std::vector<int>{c.end[0], c.end[1], c.end[2]}))
            << c.name;
    }
}

TEST(FileRecord, OrderByDateAndMinuteThenSecondsFifteenApartThenChannel)
{
    struct Case {
        FileRecord a, b;
        bool aFirst, bFirst;
    } cases[] = {
        {At(30, 10, 2), At(30, 20, 1), false, true},  // 10 s apart: channel decides
        {At(30, 10, 2), At(30, 25, 1), true, false},  // 15 s apart: time decides
        {At(30, 50, 1), At(31, 0, 4), true, false},   // the minute decides first
        {At(30, 10, 1), At(30, 10, 1), false, false}, // ties are equal
        {At(30, 10, 1), At(30, 14, 1), false, false}, // same channel, close: equal
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareFileRecords(c.a, c.b), c.aFirst);
        EXPECT_EQ(CompareFileRecords(c.b, c.a), c.bFirst);
    }
    FileRecord earlierDay = At(59, 59, 9);
    earlierDay.day = 9;
    EXPECT_TRUE(CompareFileRecords(earlierDay, At(0, 0, 1)));
    FileRecord earlierYear = At(59, 59, 9);
    earlierYear.year = 25;
    earlierYear.month = 12;
    FileRecord later = At(0, 0, 1);
    later.month = 1;
    EXPECT_TRUE(CompareFileRecords(earlierYear, later));  // year before month
}

TEST(FileRecord, SortPutsTheChannelsOfOneTimeInOrder)
{
    std::vector<FileRecord> records = {At(31, 0, 2, 1), At(30, 0, 4, 2), At(30, 1, 1, 3), At(31, 2, 1, 4),
                                       At(30, 0, 3, 5), At(30, 2, 2, 6)};
    SortFileRecords(records);
    std::vector<int> tags;
    for (const FileRecord& r : records)
        tags.push_back(int(r.size));
    EXPECT_EQ(tags, (std::vector<int>{3, 6, 5, 2, 4, 1}));
}

TEST(FileRecord, SortEndsWithAPermutationForTheCycleAndAnyInput)
{
    // 0 s on channel 3, 10 s on 2, 20 s on 1 form a cycle of the order.
    std::vector<FileRecord> cycle = {At(30, 0, 3, 0), At(30, 10, 2, 1), At(30, 20, 1, 2)};
    ASSERT_TRUE(CompareFileRecords(cycle[0], cycle[2]));
    ASSERT_TRUE(CompareFileRecords(cycle[2], cycle[1]));
    ASSERT_TRUE(CompareFileRecords(cycle[1], cycle[0]));
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::vector<FileRecord> records;
        size_t n = round < 3 ? 3 * 40 : 1 + random() % 300;
        for (size_t i = 0; i < n; ++i)
            records.push_back(round < 3 ? cycle[(i + size_t(round)) % 3]
                                        : At(30, int(random() % 60), int(random() % 8), 0));
        for (size_t i = 0; i < n; ++i)
            records[i].size = i;
        SortFileRecords(records);
        ASSERT_EQ(records.size(), n);
        std::vector<uint64_t> tags;
        for (const FileRecord& r : records)
            tags.push_back(r.size);
        std::sort(tags.begin(), tags.end());
        std::vector<uint64_t> all(n);
        std::iota(all.begin(), all.end(), 0);
        ASSERT_EQ(tags, all) << "round " << round;
    }
}

TEST(FileRecord, TypeFilterKeepsOneKindInListOrder)
{
    std::vector<FileRecord> all;
    const int kinds[] = {0, 1, 0, 2, 1, 0, -1};
    for (int i = 0; i < 7; ++i) {
        all.push_back(At(30, i, 1, i));
        all.back().kind = kinds[i];
    }
    struct Case {
        int type;
        std::vector<int> tags;
    } cases[] = {
        {kTypeTimer, {0, 2, 5}},
        {kTypeAlarm, {1, 4}},
        {kTypeAll, {}},  // the list shows all records itself
        {7, {}},
    };
    for (const Case& c : cases) {
        std::vector<int> tags;
        for (const FileRecord& r : RecordsOfType(all, c.type))
            tags.push_back(int(r.size));
        EXPECT_EQ(tags, c.tags) << c.type;
    }
}
