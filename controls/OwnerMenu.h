// COwnerMenu: the owner-drawn menu of the image button.
#pragma once

#include "Wnd.h"

#include <windows.h>

class COwnerMenu : public CMenuOwner {
public:
    COwnerMenu() = default;
    ~COwnerMenu() override { DestroyMenu(); }
    COwnerMenu(const COwnerMenu&) = delete;
    COwnerMenu& operator=(const COwnerMenu&) = delete;

    HMENU m_hMenu = nullptr;
    HMENU GetSafeHmenu() const { return m_hMenu; }

    virtual BOOL DestroyMenu()
    {
        HMENU h = m_hMenu;
        m_hMenu = nullptr;
        return h && ::DestroyMenu(h);
    }
};
