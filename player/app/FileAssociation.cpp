#include "app/FileAssociation.h"

#include "WString.h"

#include <cstring>

const char kDisplayName[] = "Zarv Player recording";

namespace {

void SetDefault(HKEY root, const char* key, const char* value)
{
    HKEY h = nullptr;
    if (::RegCreateKeyA(root, key, &h) != ERROR_SUCCESS)
        return;  // no rights: the association is left as it was
    ::RegSetValueA(h, nullptr, REG_SZ, value, static_cast<DWORD>(std::strlen(value) + 1));
    ::RegCloseKey(h);
}

}  // namespace

void RegisterFileAssociation(HKEY root, const char* iconPath, const char* exePath)
{
    const char* type = "h264file";
    char key[260];
    char command[260];
    SetDefault(root, ".h264", type);
    SetDefault(root, type, kDisplayName);
    if (FormatTo(key, sizeof key, "%s\\DefaultIcon", type))
        SetDefault(root, key, iconPath);
    if (FormatTo(key, sizeof key, "%s\\Shell", type))
        SetDefault(root, key, "Open");
    // A path too long for the buffer would make a command that runs
    // something else: leave the old command then.
    if (FormatTo(key, sizeof key, "%s\\Shell\\Open\\Command", type) &&
        FormatTo(command, sizeof command, "\"%s\" \"%%1\"", exePath))
        SetDefault(root, key, command);
}
