#include "app/MainKeys.h"

#include <gtest/gtest.h>

TEST(MainKeys, EachKeyHasItsCommand)
{
    struct Case {
        WPARAM key;
        KeyCommand command;
    } cases[] = {
        {VK_ESCAPE, KeyCommand::LeaveFullScreen}, {VK_UP, KeyCommand::Swallow},
        {VK_SPACE, KeyCommand::PlayOrPause},      {VK_LEFT, KeyCommand::Slower},
        {VK_RIGHT, KeyCommand::Faster},           {VK_DOWN, KeyCommand::NextFile},
        {VK_RETURN, KeyCommand::PassOn},          {VK_TAB, KeyCommand::PassOn},
        {'A', KeyCommand::PassOn},                {VK_F1, KeyCommand::PassOn},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommandForKey(c.key), c.command) << "key " << c.key;
}
