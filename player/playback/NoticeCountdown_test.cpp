#include "playback/NoticeCountdown.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The notice's state after each tick, starting with the one ShowNotice
// runs at once: the close button's text while shown, "" once hidden.
std::vector<std::wstring> Ticks(int seconds, int count)
{
    std::vector<std::wstring> seen;
    std::wstring text = L"(unchanged)";
    for (int i = 0; i < count; ++i)
        seen.push_back(CountdownTick(seconds, text) ? text : L"");
    return seen;
}

}  // namespace

TEST(NoticeCountdown, CountsDownToOneThenHides)
{
    struct Case {
        int seconds;
        std::vector<std::wstring> seen;
    } cases[] = {
        {3, {L"CLOSE(03)", L"CLOSE(02)", L"CLOSE(01)", L"", L""}},
        {1, {L"CLOSE(01)", L"", L""}},
        {0, {L"", L""}},  // hidden at once
        {-2, {L"", L""}},
        {12, {L"CLOSE(12)", L"CLOSE(11)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Ticks(c.seconds, int(c.seen.size())), c.seen) << c.seconds;
}

TEST(NoticeCountdown, TheExplorerCommandQuotesTheFolder)
{
    struct Case {
        const char* folder;
        const char* command;
    } cases[] = {
        {"D:\\rec", "explorer.exe \"D:\\rec\""},
        {"D:\\rec, 2013\\a b", "explorer.exe \"D:\\rec, 2013\\a b\""},
        {"D:\\", "explorer.exe \"D:\\\\\""},
        {"", ""},  // nothing to open
    };
    for (const Case& c : cases)
        EXPECT_EQ(ExplorerCommand(c.folder), c.command) << c.folder;
}
