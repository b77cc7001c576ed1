#include "app/Relaunch.h"

#include <gtest/gtest.h>

TEST(Relaunch, PathIsQuotedSoBlanksCannotSplitIt)
{
    EXPECT_EQ(RelaunchCommandLine(L"C:\\Program Files\\Zarv\\Zarv Player.exe"),
              L"\"C:\\Program Files\\Zarv\\Zarv Player.exe\"");
    EXPECT_EQ(RelaunchCommandLine(L"C:\\z.exe"), L"\"C:\\z.exe\"");
}
