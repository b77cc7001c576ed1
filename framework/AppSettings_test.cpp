#include "AppSettings.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

namespace {

std::string TempDir()
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string d = std::string(dir) + "zarv_settings_test";
    CreateDirectoryA(d.c_str(), nullptr);
    return d;
}

void WriteFile(const std::string& path, const char* text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string Read(const std::string& file, const char* section, const char* key)
{
    char buf[64] = {};
    GetPrivateProfileStringA(section, key, "<none>", buf, sizeof buf, file.c_str());
    return buf;
}

}  // namespace

TEST(AppSettings, StartupLanguageRules)
{
    struct Case {
        int lanSelect;
        unsigned langId;
        UiLanguage expected;
        int gpsFixAfter;  // gpsFix starts at 1
    } cases[] = {
        {1, 0x0409, UiLanguage::Simplified, 1},
        {2, 0x0804, UiLanguage::Traditional, 1},
        {3, 0x0404, UiLanguage::English, 1},
        {0, 0x0404, UiLanguage::Traditional, 1},
        {0, 0x0C04, UiLanguage::Traditional, 1},
        {0, 0x0804, UiLanguage::Simplified, 1},
        {0, 0x1004, UiLanguage::Simplified, 1},
        {0, 0x0409, UiLanguage::English, 0},
        {7, 0x0409, UiLanguage::English, 1},
        {-1, 0x0407, UiLanguage::English, 1},
    };
    for (const Case& c : cases) {
        int fix = 1;
        EXPECT_EQ(ChooseStartupLanguage(c.lanSelect, c.langId, fix), c.expected) << c.lanSelect << " " << c.langId;
        EXPECT_EQ(fix, c.gpsFixAfter) << c.lanSelect << " " << c.langId;
    }
}

TEST(AppSettings, FolderOfCutsAtTheLastBackslash)
{
    EXPECT_EQ(FolderOf("C:\\Program Files\\Zarv\\Zarv Player.exe"), "C:\\Program Files\\Zarv");
    EXPECT_EQ(FolderOf("player.exe"), "player.exe");
}

TEST(AppSettings, ConfigFileRoundTripsAndMissingKeysTakeDefaults)
{
    std::string dir = TempDir();
    std::string ini = dir + "\\config.ini";
    DeleteFileA(ini.c_str());

    AppSettings s;
    s.programFolder = dir;
    s.LoadFrom(ini, dir + "\\no-such-user.ini");
    EXPECT_EQ(s.lanSelect, 0);
    EXPECT_EQ(s.bkColor, 0);
    EXPECT_EQ(s.gpsFix, 1);
    EXPECT_EQ(s.mapSelect, 0);

    s.lanSelect = 3;
    s.gpsFix = 0;
    s.SaveLanguage();
    s.SaveMapSelect("3");
    EXPECT_EQ(Read(ini, "LANGUAGE", "LAN_SELECT"), "3");
    EXPECT_EQ(Read(ini, "GPSFIX", "FIX"), "0");
    EXPECT_EQ(Read(ini, "BKGROUND", "BK_COLOR"), "<none>");  // never written

    AppSettings t;
    WritePrivateProfileStringA("BKGROUND", "BK_COLOR", "1", ini.c_str());
    t.LoadFrom(ini, "");
    EXPECT_EQ(t.lanSelect, 3);
    EXPECT_EQ(t.gpsFix, 0);
    EXPECT_EQ(t.mapSelect, 3);
    EXPECT_EQ(t.bkColor, 1);

    // Text that is not a number reads as 0.
    WriteFile(ini, "[MAP]\r\nMAP_SELECT=abc\r\n[GPSFIX]\r\nFIX=x\r\n");
    t.LoadFrom(ini, "");
    EXPECT_EQ(t.mapSelect, 0);
    EXPECT_EQ(t.gpsFix, 0);
    DeleteFileA(ini.c_str());
}

TEST(AppSettings, PerUserLanguageMovesIntoTheProgramFile)
{
    std::string dir = TempDir();
    std::string ini = dir + "\\config.ini";
    std::string user = dir + "\\user.ini";
    WriteFile(ini, "[LANGUAGE]\r\nLAN_SELECT=1\r\n");
    WriteFile(user, "[LANGUAGE]\r\nLAN_SELECT=2\r\n");

    AppSettings s;
    s.LoadFrom(ini, user);
    EXPECT_EQ(s.lanSelect, 2);
    EXPECT_FALSE(GetFileAttributesA(user.c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Read(ini, "LANGUAGE", "LAN_SELECT"), "2");
    DeleteFileA(ini.c_str());
}

TEST(AppSettings, PerUserFileWithoutAValueIsKept)
{
    std::string dir = TempDir();
    std::string ini = dir + "\\config.ini";
    std::string user = dir + "\\user.ini";
    WriteFile(ini, "[LANGUAGE]\r\nLAN_SELECT=3\r\n");
    WriteFile(user, "[OTHER]\r\nX=1\r\n");

    AppSettings s;
    s.LoadFrom(ini, user);
    EXPECT_EQ(s.lanSelect, 3);  // the saved choice is not overwritten with 0
    EXPECT_TRUE(GetFileAttributesA(user.c_str()) != INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Read(ini, "LANGUAGE", "LAN_SELECT"), "3");
    DeleteFileA(user.c_str());
    DeleteFileA(ini.c_str());
}
