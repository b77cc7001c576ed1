// The settings and shared pointers of the player (one global g_Settings),
// and the program-folder settings file "config.ini". The block lives below
// the controls, which read the colour scheme, the language and the Windows
// version code from it.
#pragma once

#include <string>

class LanguageHolder;
// The main window as panels see it (declared by the player program).
class IMainWindow;

// Language a start-up choice applies.
enum class UiLanguage { Simplified, Traditional, English };

// The start-up language rule: a stored choice 1/2/3 wins; otherwise the
// system's default language id decides. Following the system into English
// with nothing stored (0) also turns the position conversion off.
UiLanguage ChooseStartupLanguage(int lanSelect, unsigned systemLangId, int& gpsFix);

struct AppSettings {
    unsigned char firstInfoSeen = 0;
    LanguageHolder* language = nullptr;
    IMainWindow* mainDlg = nullptr;
    // The main window's Windows version code (5: the system draws the
    // caption); 2 until the main window detected it.
    int windowsVersion = 2;
    // The folder (or single file) the recording list searches.
    std::wstring searchRoot;
    int trackColor = 0;
    std::string totalTimeText = " / 00:00";
    int playRate = 0;
    std::string programFolder;
    int bkColor = 0;
    int lanSelect = 0;
    int languageCode = 1;
    int gpsFix = 1;
    int mapSelect = 0;

    // programFolder = folder of the running program, without the last '\'.
    void SetProgramFolder();
    // Reads the per-user file once (then deletes it) and config.ini.
    void Load();
    // The same with explicit files (tests).
    void LoadFrom(const std::string& programIni, const std::string& userIni);
    void SaveLanguage() const;
    void SaveMapSelect(const char* value) const;

    std::string ConfigPath() const;
    // The per-user file: application data + "\MERIDOXANT\config.ini".
    static std::string UserConfigPath();
};

// Folder part of a path: everything before the last backslash, or the whole
// path when it has none.
std::string FolderOf(const std::string& path);
// The running program's path for the ANSI functions: as the code page
// spells it, or by its short name where it cannot.
std::string AnsiProgramPath();

extern AppSettings g_Settings;
