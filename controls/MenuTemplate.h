// Reading a standard menu template (the RT_MENU resource the resource
// compiler writes): a header of version 0 and an offset, then the items in
// order, each an option word, a command id for an item without a sub-menu,
// and a NUL-terminated UTF-16 caption. A sub-menu's items follow its popup
// item; the item that carries MF_END closes its level.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MenuTemplateStep {
    enum Kind {
        Item,   // an item of the level open at the moment
        Close,  // the level open at the moment is complete
    } kind;
    WORD flags;  // the option word as written (MF_END included)
    WORD id;     // 0 for a popup item
    std::wstring caption;
};

// The template as the steps that build it: a popup item opens a level, its
// items follow, a Close ends it; the last step closes the menu itself.
// false for anything but a well-formed version-0 template read within size
// bytes: another version (MENUEX is 1), a missing END, a caption without its
// NUL, or items after the menu's end (only zero padding may follow).
bool ParseMenuTemplate(const void* data, size_t size, std::vector<MenuTemplateStep>* steps);
