#include "geodraw.h"

#include <gtest/gtest.h>

TEST(GeoDraw, StartCallsPrepareTheLibrary)
{
    // The names are exported undecorated, as the player imports them.
    HMODULE lib = GetModuleHandleW(L"geodraw.dll");
    ASSERT_NE(lib, nullptr);
    for (const char* name : {"_MAP_Initialize", "_MAP_InitLangague", "_MAP_LoadSkin"})
        EXPECT_NE(GetProcAddress(lib, name), nullptr) << name;

    EXPECT_EQ(_MAP_Initialize(), 0);
    EXPECT_EQ(_MAP_Initialize(), 0);  // a second start is harmless
    EXPECT_EQ(_MAP_InitLangague("chinese"), 0);
    EXPECT_EQ(_MAP_InitLangague(nullptr), 1);
    EXPECT_EQ(_MAP_LoadSkin(0), 0);
    int init = 0, skin = -1;
    char lang[32] = {};
    GeoDrawStartState(&init, lang, sizeof lang, &skin);
    EXPECT_EQ(init, 1);
    EXPECT_STREQ(lang, "chinese");
    EXPECT_EQ(skin, 0);
    WNDCLASSW wc;
    EXPECT_TRUE(GetClassInfoW(lib, L"GeoDrawMap", &wc));
}
