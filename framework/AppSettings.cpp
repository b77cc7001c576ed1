#include "AppSettings.h"

#include "AnsiPath.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdlib>

AppSettings g_Settings;

UiLanguage ChooseStartupLanguage(int lanSelect, unsigned systemLangId, int& gpsFix)
{
    switch (lanSelect) {
    case 1: return UiLanguage::Simplified;
    case 2: return UiLanguage::Traditional;
    case 3: return UiLanguage::English;
    default: break;
    }
    if (systemLangId == 0x0404 || systemLangId == 0x0C04)
        return UiLanguage::Traditional;
    if (systemLangId == 0x0804 || systemLangId == 0x1004)
        return UiLanguage::Simplified;
    if (lanSelect == 0)
        gpsFix = 0;
    return UiLanguage::English;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash);
}

std::string AnsiProgramPath()
{
    // A folder the code page cannot spell goes by its short name, so that
    // config.ini and the icon beside the program are found there too.
    wchar_t wide[1024] = {};
    DWORD n = ::GetModuleFileNameW(nullptr, wide, 1024);
    std::string path;
    if (n > 0 && n < 1024 && AnsiPath(std::wstring(wide, n), path))
        return path;
    char ansi[512] = {};
    n = ::GetModuleFileNameA(nullptr, ansi, sizeof ansi);
    return std::string(ansi, n < sizeof ansi ? n : sizeof ansi - 1);
}

void AppSettings::SetProgramFolder()
{
    programFolder = FolderOf(AnsiProgramPath());
}

std::string AppSettings::ConfigPath() const
{
    return programFolder + "\\config.ini";
}

std::string AppSettings::UserConfigPath()
{
    char appData[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathA(nullptr, appData, CSIDL_APPDATA, FALSE))
        return std::string();
    return std::string(appData) + "\\MERIDOXANT\\config.ini";
}

namespace {

int ReadInt(const std::string& file, const char* section, const char* key, const char* def)
{
    char buf[260] = {};
    ::GetPrivateProfileStringA(section, key, def, buf, sizeof buf, file.c_str());
    return std::atoi(buf);
}

bool WriteInt(const std::string& file, const char* section, const char* key, int value)
{
    char buf[16];
    wsprintfA(buf, "%d", value);
    return ::WritePrivateProfileStringA(section, key, buf, file.c_str()) != 0;
}

}  // namespace

void AppSettings::Load()
{
    LoadFrom(ConfigPath(), UserConfigPath());
}

void AppSettings::LoadFrom(const std::string& programIni, const std::string& userIni)
{
    bool fromUser = false;
    if (!userIni.empty() && ::PathFileExistsA(userIni.c_str())) {
        // The per-user value moves into the program's file; the old file goes
        // only once its value was read and stored there, so it is never lost.
        char buf[260] = {};
        DWORD n = ::GetPrivateProfileStringA("LANGUAGE", "LAN_SELECT", "", buf, sizeof buf, userIni.c_str());
        if (n > 0) {
            lanSelect = std::atoi(buf);
            fromUser = true;
            if (WriteInt(programIni, "LANGUAGE", "LAN_SELECT", lanSelect))
                ::DeleteFileA(userIni.c_str());
        }
    }
    if (!fromUser)
        lanSelect = ReadInt(programIni, "LANGUAGE", "LAN_SELECT", "0");
    bkColor = ReadInt(programIni, "BKGROUND", "BK_COLOR", "0");
    gpsFix = ReadInt(programIni, "GPSFIX", "FIX", "1");
    mapSelect = ReadInt(programIni, "MAP", "MAP_SELECT", "0");
}

void AppSettings::SaveLanguage() const
{
    WriteInt(ConfigPath(), "LANGUAGE", "LAN_SELECT", lanSelect);
    WriteInt(ConfigPath(), "GPSFIX", "FIX", gpsFix);
}

void AppSettings::SaveMapSelect(const char* value) const
{
    ::WritePrivateProfileStringA("MAP", "MAP_SELECT", value ? value : "0", ConfigPath().c_str());
}
