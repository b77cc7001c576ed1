#include "playback/SnapshotFiles.h"

#include <gtest/gtest.h>

#include <set>

namespace {

SYSTEMTIME At(int y, int mo, int d, int h, int mi, int s)
{
    SYSTEMTIME t = {};
    t.wYear = WORD(y);
    t.wMonth = WORD(mo);
    t.wDay = WORD(d);
    t.wHour = WORD(h);
    t.wMinute = WORD(mi);
    t.wSecond = WORD(s);
    return t;
}

}  // namespace

TEST(SnapshotFiles, NamesAreTheRecordingsPathAndTheLocalTime)
{
    struct Case {
        const wchar_t* recording;
        SYSTEMTIME now;
        const wchar_t* name;
    } cases[] = {
        {L"D:\\rec\\a.h264", At(2013, 5, 7, 8, 9, 10), L"D:\\rec\\a 2013-05-07 08_09_10.bmp"},
        {L"D:\\rec\\100-01-083000-083100-00p000.h264", At(2026, 12, 31, 23, 59, 59),
         L"D:\\rec\\100-01-083000-083100-00p000 2026-12-31 23_59_59.bmp"},
        // The last '.' decides, also one in a folder's name.
        {L"D:\\rec.v2\\clip", At(2026, 1, 2, 3, 4, 5), L"D:\\rec 2026-01-02 03_04_05.bmp"},
        // No '.' at all: the whole path.
        {L"D:\\rec\\clip", At(2026, 1, 2, 3, 4, 5), L"D:\\rec\\clip 2026-01-02 03_04_05.bmp"},
    };
    for (const Case& c : cases) {
        std::wstring name;
        ASSERT_TRUE(SnapshotName(c.recording, c.now, nullptr, name)) << c.recording;
        EXPECT_EQ(name, c.name);
    }
}

TEST(SnapshotFiles, ASecondPressInTheSameSecondAddsANumber)
{
    std::set<std::wstring> taken = {L"D:\\rec\\a 2013-05-07 08_09_10.bmp", L"D:\\rec\\a 2013-05-07 08_09_10 (2).bmp"};
    auto exists = [&](const std::wstring& n) { return taken.count(n) != 0; };
    std::wstring name;
    ASSERT_TRUE(SnapshotName(L"D:\\rec\\a.h264", At(2013, 5, 7, 8, 9, 10), exists, name));
    EXPECT_EQ(name, L"D:\\rec\\a 2013-05-07 08_09_10 (3).bmp");
    // Everything taken up to 99: no name.
    auto all = [](const std::wstring&) { return true; };
    EXPECT_FALSE(SnapshotName(L"D:\\rec\\a.h264", At(2013, 5, 7, 8, 9, 10), all, name));
}

TEST(SnapshotFiles, ANameLongerThanAPathMayBeIsRefused)
{
    // The name is the recording's path less its extension plus 24.
    const std::wstring folder = L"D:\\" + std::wstring(200, L'f') + L"\\";
    std::wstring name;
    const std::wstring fits = folder + std::wstring(259 - 24 - folder.size(), L'n') + L".h264";
    ASSERT_TRUE(SnapshotName(fits, At(2026, 1, 1, 0, 0, 0), nullptr, name));
    EXPECT_EQ(name.size(), 259u);
    const std::wstring longer = folder + std::wstring(260 - 24 - folder.size(), L'n') + L".h264";
    EXPECT_FALSE(SnapshotName(longer, At(2026, 1, 1, 0, 0, 0), nullptr, name));
    // Fits, but the number a collision needs would pass the limit.
    auto first = [&](const std::wstring& n) { return n.size() == 259; };
    EXPECT_FALSE(SnapshotName(fits, At(2026, 1, 1, 0, 0, 0), first, name));
}

TEST(SnapshotFiles, TheNoticeListsEveryFileAndTheFoldersOfTheSavedOnes)
{
    const std::vector<SnapshotResult> results = {
        {SnapshotResult::Saved, L"D:\\a\\1 x.bmp"},
        {SnapshotResult::Failed, L"D:\\a\\2 x.bmp"},
        {SnapshotResult::Saved, L"E:\\b\\3 x.bmp"},
        {SnapshotResult::NameTooLong, L"E:\\c\\4.h264"},
        {SnapshotResult::Saved, L"d:\\A\\5 x.bmp"},
        {SnapshotResult::Saved, L"F:\\6 x.bmp"},
        {SnapshotResult::Unreachable, L"G:\\g\\7 x.bmp"},
    };
    EXPECT_EQ(SnapshotNoticeText(results, L"saved OK.", L"failed.", L"too long.", L"unreachable."),
              L"D:\\a\\1 x.bmp saved OK.\r\nD:\\a\\2 x.bmp failed.\r\nE:\\b\\3 x.bmp saved OK.\r\n"
              L"E:\\c\\4.h264 too long.\r\nd:\\A\\5 x.bmp saved OK.\r\nF:\\6 x.bmp saved OK.\r\n"
              L"G:\\g\\7 x.bmp unreachable.");
    // Each folder once (case aside); the failed file's, the long name's and the
    // unreachable file's folders are not among them; a drive's root keeps its backslash.
    EXPECT_EQ(SnapshotFolders(results), (std::vector<std::wstring>{L"D:\\a", L"E:\\b", L"F:\\"}));
    EXPECT_TRUE(SnapshotFolders({{SnapshotResult::Failed, L"D:\\a\\1.bmp"}}).empty());
    EXPECT_EQ(FolderOfFile(L"name.bmp"), L"");
}
