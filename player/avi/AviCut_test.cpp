#include "avi/AviCut.h"

#include "Calverin.h"

#include <gtest/gtest.h>

TEST(AviCut, TimesPackAsTheConverterReadsThem)
{
    struct Case {
        int hms;
        TimeOfDay time;
        int packed;
    } cases[] = {
        {0, {0, 0, 0}, 0},
        {235959, {23, 59, 59}, 23 << 16 | 59 << 8 | 59},
        {101505, {10, 15, 5}, 0x0A0F05},
        {90000, {9, 0, 0}, 0x090000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TimeFromHms(c.hms), c.time) << c.hms;
        EXPECT_EQ(PackTime(c.time), c.packed) << c.hms;
        EXPECT_EQ(PackTime(c.time), CALVERIN_PACK_TIME(c.time.hour, c.time.minute, c.time.second)) << c.hms;
    }
    EXPECT_EQ(TimeDigits({0, 0, 0}), L"000000");
    EXPECT_EQ(TimeDigits({23, 59, 59}), L"235959");
}

TEST(AviCut, TheRangeIsCheckedByHourMinuteAndSecond)
{
    struct Case {
        TimeOfDay start, end;
        bool accepted;
    } cases[] = {
        {{10, 15, 5}, {10, 15, 9}, true},
        {{10, 15, 5}, {10, 15, 5}, true},    // one second
        {{0, 0, 0}, {23, 59, 59}, true},
        {{10, 15, 9}, {10, 15, 5}, false},   // end before start
        {{10, 16, 0}, {10, 15, 59}, false},  // by the minute, not the second
        {{11, 0, 0}, {10, 59, 59}, false},   // by the hour
        {{23, 59, 0}, {0, 0, 10}, false},    // no cut across midnight
        {{24, 0, 0}, {24, 0, 1}, false},     // out of range
        {{0, 60, 0}, {0, 60, 1}, false},
        {{0, 0, 5}, {0, 0, 60}, false},
        {{-1, 0, 0}, {0, 0, 1}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsCutRangeAccepted(c.start, c.end), c.accepted)
            << c.start.hour << ":" << c.start.minute << ":" << c.start.second << " - " << c.end.hour << ":"
            << c.end.minute << ":" << c.end.second;
}

TEST(AviCut, OutputNamesAndPaths)
{
    const TimeOfDay s{10, 15, 5}, e{10, 15, 9};
    struct NameCase {
        const wchar_t* name;
        const wchar_t* out;
    } names[] = {
        {L"100-01-101500-101520-00p000.h264", L"100-01-101505-101509.AVI"},
        {L"201-03-000000-000000-02p000.h264", L"201-03-101505-101509.AVI"},
        {L"abc.h", L"abc.h101505-101509.AVI"},  // shorter than 7: the whole name
        {L"", L"101505-101509.AVI"},
    };
    for (const NameCase& c : names)
        EXPECT_EQ(AviOutputName(c.name, s, e), c.out) << c.name;
    EXPECT_EQ(AviOutputName(L"x", {0, 0, 0}, {23, 59, 59}), L"x000000-235959.AVI");

    struct PathCase {
        const wchar_t *dest, *source, *file, *path;
    } paths[] = {
        {L"D:\\out", L"C:\\rec\\", L"a.AVI", L"D:\\out\\a.AVI"},
        {L"D:\\out\\", L"C:\\rec\\", L"a.AVI", L"D:\\out\\a.AVI"},
        {L"D:\\", L"C:\\rec\\", L"a.AVI", L"D:\\a.AVI"},
        {L"", L"C:\\rec\\", L"a.AVI", L"C:\\rec\\a.AVI"},  // empty: the source folder
        {L"", L"", L"a.AVI", L"a.AVI"},                     // a source without folder
        {L"D:\\out", L"C:\\rec\\", L"", L""},               // no file name: nothing
    };
    for (const PathCase& c : paths)
        EXPECT_EQ(AviOutputPath(c.dest, c.source, c.file), c.path) << c.dest << " | " << c.file;
}

TEST(AviCut, AChosenSourcePathSplitsAtItsLastBackslash)
{
    struct Case {
        const wchar_t* path;
        bool taken;
        const wchar_t *folder, *name;
    } cases[] = {
        {L"C:\\rec\\day\\a.h264", true, L"C:\\rec\\day\\", L"a.h264"},
        {L"a.h264", true, L"", L"a.h264"},
        {L"\\a.h264", false, L"", L""},  // the last backslash is the first character
        {L"C:\\rec\\", false, L"", L""}, // no name
        {L"", false, L"", L""},
    };
    for (const Case& c : cases) {
        std::wstring folder, name;
        EXPECT_EQ(SplitSourcePath(c.path, folder, name), c.taken) << c.path;
        EXPECT_EQ(folder, c.folder) << c.path;
        EXPECT_EQ(name, c.name) << c.path;
    }
}

TEST(AviCut, OnlyARecordingNameWithARangeGivesTheTimes)
{
    struct Case {
        const wchar_t* name;
        bool fromName;
        int start, end;
        const wchar_t* info;
    } cases[] = {
        {L"201-02-101500-102000-02p000.h264", true, 101500, 102000, L"10:15:00-10:20:00 CH02 PAL CIF 25F/S"},
        {L"100-01-000000-235959-00p000.h264", true, 0, 235959, L"00:00:00-23:59:59 CH01 PAL D1 25F/S"},
        {L"201-02-101500-101500-02p000.h264", false, 0, 0, L""},  // still being recorded
        {L"clip.h264", false, 0, 0, L""},
        {L"201-02-101500-102000-02p000.H264", false, 0, 0, L""},  // the rule is case-sensitive
    };
    for (const Case& c : cases) {
        int start = 0, end = 0;
        std::wstring info;
        EXPECT_EQ(RangeFromRecordName(c.name, start, end, info), c.fromName) << c.name;
        EXPECT_EQ(start, c.start) << c.name;
        EXPECT_EQ(end, c.end) << c.name;
        EXPECT_EQ(info, c.info) << c.name;
    }
    EXPECT_EQ(HeaderRangeText(101500, 101520), L"10:15:00-10:15:20");
    EXPECT_EQ(HeaderRangeText(0, 235959), L"00:00:00-23:59:59");
}

TEST(AviCut, ProgressReportsMoveTheBarInPerMille)
{
    struct Case {
        int current, total;
        ProgressStep step;
        int perMille;  // -7: not given
    } cases[] = {
        {0, 130, ProgressStep::Move, 0},
        {1, 130, ProgressStep::Move, 7},      // 7.69: truncated
        {65, 130, ProgressStep::Move, 500},
        {129, 130, ProgressStep::Move, 992},
        {130, 130, ProgressStep::Finished, 1000},
        {1, 1, ProgressStep::Finished, 1000},
        {2000000000, 2000000001, ProgressStep::Move, 999},  // no overflow
        {0, 0, ProgressStep::Ignore, -7},     // a total of 0 divides nothing
        {5, 0, ProgressStep::Ignore, -7},
        {3, -4, ProgressStep::Ignore, -7},
        {-1, 130, ProgressStep::Failed, -7},
        {-1, 0, ProgressStep::Failed, -7},    // failed before the clip was measured
    };
    for (const Case& c : cases) {
        int perMille = -7;
        EXPECT_EQ(ReadProgress(c.current, c.total, perMille), c.step) << c.current << "/" << c.total;
        EXPECT_EQ(perMille, c.perMille) << c.current << "/" << c.total;
    }
}
