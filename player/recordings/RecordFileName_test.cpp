#include "recordings/RecordFileName.h"

#include <gtest/gtest.h>

TEST(RecordFileName, TheRuleWantsLengthExtensionAndFourDashes)
{
    struct Case {
        const char* name;
        bool isRecord;
    } cases[] = {
        {"201-02-101500-102000-02p000.h264", true},
        {"201-02-101500-102000-02p000.H264", false},   // the rule is case-sensitive
        {"201-02-101500-102000-02p00.h264", false},    // 31 characters
        {"201-02-101500-102000-02p0000.h264", false},  // 33 characters
        {"201-02-101500x102000-02p000.h264", false},   // no dash at 13
        {"201x02-101500-102000-02p000.h264", false},   // no dash at 3
        {"201-02x101500-102000-02p000.h264", false},   // no dash at 6
        {"201-02-101500-102000x02p000.h264", false},   // no dash at 20
        {"201-02-101500-102000-02p000.h265", false},
        {"abc-xy-zzzzzz-zzzzzz-zzzzzz.h264", true},    // nothing else is tested
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsRecordFileName(std::string_view(c.name)), c.isRecord) << c.name;
        std::wstring wide(c.name, c.name + strlen(c.name));
        EXPECT_EQ(IsRecordFileName(std::wstring_view(wide)), c.isRecord) << c.name;
    }
}

TEST(RecordFileName, ParseGivesChannelTimesAndTheInformationText)
{
    struct Case {
        const char* name;
        int channel, start, end;
        const wchar_t* info;
    } cases[] = {
        {"201-02-101500-102000-02p000.h264", 2, 101500, 102000, L"10:15:00-10:20:00 CH02 PAL CIF 25F/S"},
        {"100-16-235959-000001-1650a0.h264", 16, 235959, 1, L"23:59:59-00:00:01 CH16 NTSC 1080P 05F/S"},
        // Standard below '0' is PAL, above '1' NTSC; resolution below '0'
        // is D1, above '6' 1080P; rate 'A' and 'a' are 10, 'Z' 35.
        {"100-01-080000-080100-/ZA000.h264", 1, 80000, 80100, L"08:00:00-08:01:00 CH01 PAL 1080P 10F/S"},
        {"100-01-080000-080100-9/a000.h264", 1, 80000, 80100, L"08:00:00-08:01:00 CH01 NTSC D1 10F/S"},
        {"100-01-080000-080100-04Z000.h264", 1, 80000, 80100, L"08:00:00-08:01:00 CH01 PAL 960H 35F/S"},
        {"100-01-080000-080100-05/000.h264", 1, 80000, 80100, L"08:00:00-08:01:00 CH01 PAL 720P -1F/S"},
        {"100-01-080000-080100-06[000.h264", 1, 80000, 80100, L"08:00:00-08:01:00 CH01 PAL 1080P 04F/S"},
        // Fields without digits read as 0.
        {"100-xx-08aa00-0801bb-00p000.h264", 0, 80000, 80100, L"08:00:00-08:01:00 CH00 PAL D1 25F/S"},
        {"short", 0, 0, 0, L""},
    };
    for (const Case& c : cases) {
        int start = -1, end = -1;
        std::wstring info = L"old";
        EXPECT_EQ(ParseRecordFileName(std::string_view(c.name), &start, &end, &info), c.channel) << c.name;
        EXPECT_EQ(start, c.start) << c.name;
        EXPECT_EQ(end, c.end) << c.name;
        EXPECT_EQ(info, c.info) << c.name;
    }
    // A byte above 127 as the rate is no negative character.
    std::string high = "100-01-080000-080100-00p000.h264";
    high[23] = char(0xE9);
    std::wstring info;
    ParseRecordFileName(std::string_view(high), nullptr, nullptr, &info);
    EXPECT_EQ(info, L"08:00:00-08:01:00 CH01 PAL D1 146F/S");
    EXPECT_EQ(ParseRecordFileName(std::wstring_view(L"201-02-101500-102000-02p000.h264"), nullptr, nullptr, nullptr),
              2);
}

TEST(RecordFileName, FieldsReadLikeAtoiWithinTheirTwoCharacters)
{
    const std::wstring name = L"201-02-1x-5+7-102000-02p000.h264";
    EXPECT_EQ(RecordNameField(name, 4), 2);
    EXPECT_EQ(RecordNameField(name, 7), 1);   // "1x"
    EXPECT_EQ(RecordNameField(name, 9), -5);  // "-5"
    EXPECT_EQ(RecordNameField(name, 11), 7);  // "+7"
    EXPECT_EQ(RecordNameField(name, 31), 0);  // past the end
}
