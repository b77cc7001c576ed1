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

TEST(RecordRows, PlayingRowsAreTheRowsOfTheGroupsFiles)
{
    const std::vector<std::wstring> page = {L"C:\\r\\1-a", L"C:\\r\\2-a", L"C:\\r\\3-a", L"C:\\r\\1-b",
                                            L"C:\\r\\2-b"};
    struct Case {
        std::vector<std::wstring> playing;
        std::vector<int> rows;
    } cases[] = {
        {{L"C:\\r\\1-a", L"C:\\r\\2-a", L"C:\\r\\3-a"}, {0, 1, 2}},
        {{L"C:\\r\\2-b", L"C:\\r\\1-b"}, {3, 4}},                // in row order
        {{L"C:\\r\\1-b", L"C:\\r\\9-z"}, {3}},                   // one on another page
        {{L"", L"", L"C:\\r\\1-a"}, {0}},                        // empty slots match nothing
        {{}, {}},                                                // stopped
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlayingRows(page, c.playing), c.rows) << c.rows.size();
    // A row without a record (empty path) is never playing.
    EXPECT_EQ(PlayingRows({L"", L"C:\\r\\1-a"}, {L"", L"C:\\r\\1-a"}), std::vector<int>{1});
}
