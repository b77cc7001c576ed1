#include "WinApp.h"

#include <gtest/gtest.h>

TEST(WinApp, FirstArgumentThatIsNoSwitchIsTheFileName)
{
    struct Case {
        std::vector<CString> args;
        const wchar_t* fileName;
    } cases[] = {
        {{}, L""},
        {{L"C:\\card\\a b.h264"}, L"C:\\card\\a b.h264"},
        {{L"/dde", L"-x", L"Z:\\rec"}, L"Z:\\rec"},
        {{L"first", L"second"}, L"first"},
    };
    for (const Case& c : cases) {
        CCommandLineInfo info;
        ParseArguments(c.args, info);
        EXPECT_EQ(info.fileName, c.fileName);
        EXPECT_EQ(info.argumentCount, static_cast<int>(c.args.size()));
    }
}

TEST(WinApp, PlatformSetUpSucceedsUnderThisSystem)
{
    EXPECT_TRUE(InitRichEdit2());
    EXPECT_NE(GetClassInfoW(nullptr, L"RichEdit20W", new WNDCLASSW), FALSE);
    EXPECT_TRUE(InitSockets());
}
