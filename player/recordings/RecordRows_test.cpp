#include "recordings/RecordRows.h"

#include "StringIds.h"

#include <gtest/gtest.h>

TEST(RecordRows, KindTextsFollowKindAndSubType)
{
    struct Case {
        int kind;
        const wchar_t* name;
        int id;
    } cases[] = {
        {0, L"130-01-083000-083100-00p000.h264", IDS_NORMAL_VIDEO},
        {1, L"100-01-083000-083100-00p000.h264", IDS_ALARM_VIDEO},
        {1, L"120-01-083000-083100-00p000.h264", IDS_MOVE_ALARM},
        {1, L"130-01-083000-083100-00p000.h264", IDS_IMPACT_ALARM},
        {1, L"140-01-083000-083100-00p000.h264", IDS_IO_ALARM},
        {1, L"x", IDS_ALARM_VIDEO},
        {1, L"", IDS_ALARM_VIDEO},
        {2, L"130-01-083000-083100-00p000.h264", IDS_OTHERS},
        {-1, L"a.h264", IDS_OTHERS},
    };
    for (const Case& c : cases) {
        FileRecord r;
        r.kind = c.kind;
        SetRecordName(r, c.name, c.name);
        EXPECT_EQ(KindStringId(r), c.id) << c.kind << " " << std::string(c.name, c.name + wcslen(c.name));
    }
}

TEST(RecordRows, RowTextsOfARecord)
{
    FileRecord r;
    r.channel = 3;
    r.year = 15;
    r.month = 3;
    r.day = 7;
    r.startHour = 8;
    r.startMinute = 30;
    r.startSecond = 5;
    r.endHour = 23;
    r.endMinute = 59;
    r.endSecond = 59;
    r.size = 1572864;
    auto texts = RecordRowTexts(r, L"Normal Video");
    EXPECT_EQ(texts, (std::array<std::wstring, 6>{L"3", L"2015-03-07", L"08:30:05", L"23:59:59", L"Normal Video",
                                                  L"1.5M"}));
    struct Size {
        uint64_t bytes;
        const wchar_t* text;
    } sizes[] = {
        {0, L"0.0M"}, {1572864, L"1.5M"}, {104857, L"0.1M"}, {5ull << 30, L"5120.0M"}, {(1ull << 32) + 1048576, L"4097.0M"},
    };
    for (const Size& s : sizes)
        EXPECT_EQ(SizeText(s.bytes), s.text) << s.bytes;
}

TEST(RecordRows, PlayingRowsOnTheGroupPageAndThePageBefore)
{
    // Eleven records a page; a group of four at 9, 10, 11 and 12 crosses
    // from page 1 into page 2 (rows 9 and 10 of page 1, rows 0 and 1 of 2).
    PlayingGroup crossing;
    const int indices[4] = {9, 10, 11, 12};
    for (int c = 0; c < 4; ++c) {
        crossing.channelIndex[c] = indices[c];
        crossing.channelFound[c] = 1;
    }
    crossing.crossesPage = 1;
    crossing.groupPage = 2;
    PlayingGroup plain;
    plain.channelIndex[0] = 3;
    plain.channelFound[0] = 1;
    plain.channelIndex[1] = 4;
    plain.channelFound[1] = 1;
    plain.channelIndex[2] = 7;  // no file in that slot: not marked
    plain.groupPage = 1;
    PlayingGroup stopped = plain;
    stopped.selectedRow = -1;
    struct Case {
        const PlayingGroup* group;
        int page;
        std::vector<int> rows;
    } cases[] = {
        {&crossing, 1, {9, 10}}, {&crossing, 2, {0, 1}}, {&crossing, 3, {}},
        {&plain, 1, {3, 4}},     {&plain, 2, {}},        {&stopped, 1, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlayingRows(*c.group, c.page, 11), c.rows) << c.page;
}
