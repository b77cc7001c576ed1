#include "playback/NoticeCountdown.h"

#include <cwchar>

bool CountdownTick(int& secondsLeft, std::wstring& closeText)
{
    if (secondsLeft <= 0) {
        secondsLeft = 0;
        return false;
    }
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof text[0], L"CLOSE(%02d)", secondsLeft);
    closeText = text;
    --secondsLeft;
    return true;
}

std::string ExplorerCommand(const std::string& folder)
{
    if (folder.empty())
        return std::string();
    // A backslash before the closing quote would escape it: double it.
    const std::string tail = folder.back() == '\\' ? "\\" : "";
    return "explorer.exe \"" + folder + tail + "\"";
}
