#include "app/Relaunch.h"

#include <gtest/gtest.h>

TEST(Relaunch, PathAndSearchRootAreQuotedSoBlanksCannotSplitThem)
{
    const struct {
        const wchar_t* exe;
        const wchar_t* root;
        const wchar_t* command;
    } cases[] = {
        {L"C:\\Program Files\\Zarv\\Zarv Player.exe", L"", L"\"C:\\Program Files\\Zarv\\Zarv Player.exe\""},
        {L"C:\\z.exe", L"", L"\"C:\\z.exe\""},
        {L"C:\\z.exe", L"D:\\my card", L"\"C:\\z.exe\" \"D:\\my card\""},
        // A drive's root: the backslash before the closing quote is doubled.
        {L"C:\\z.exe", L"E:\\", L"\"C:\\z.exe\" \"E:\\\\\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RelaunchCommandLine(c.exe, c.root), c.command) << c.command;
}
