#include "playback/AviSource.h"

#include <gtest/gtest.h>

TEST(AviSource, FolderNameAndTheParseNameFromThePanesOwnRecord)
{
    const int start[3] = {8, 30, 5}, end[3] = {8, 31, 0};
    struct Case {
        const wchar_t* path;
        bool ok;
        const wchar_t* folder;
        const wchar_t* name;
        const wchar_t* parseName;
    } cases[] = {
        // A recording file name with a range of its own: the dialog reads it.
        {L"D:\\rec\\000-02-083005-083100-00p000.h264", true, L"D:\\rec\\", L"000-02-083005-083100-00p000.h264",
         L""},
        // Start equal to end (still being recorded): the record's times.
        {L"D:\\rec\\000-02-083005-083005-00p000.h264", true, L"D:\\rec\\", L"000-02-083005-083005-00p000.h264",
         L"201-03-083005-083100-02p000.h264"},
        // Another length.
        {L"D:\\rec\\clip.h264", true, L"D:\\rec\\", L"clip.h264", L"201-03-083005-083100-02p000.h264"},
        {L"", false, L"", L"", L""},
        {L"clip.h264", false, L"", L"", L""},
        {L"\\clip.h264", false, L"", L"", L""},
    };
    for (const Case& c : cases) {
        AviSource s;
        ASSERT_EQ(AviSourceFor(c.path, 3, start, end, s), c.ok);
        if (!c.ok)
            continue;
        EXPECT_EQ(s.folder, c.folder);
        EXPECT_EQ(s.name, c.name);
        EXPECT_EQ(s.parseName, c.parseName);
    }
}
